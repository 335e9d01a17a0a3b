// The reference page without the web engine: where the document is, the address that the
// browser reports for it, the note shown without the viewer plugin, and the shipped archive.
#include "ReferencePage.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

// Quoted-printable back to bytes: "=XX" is a byte, "=" at a line end a soft break.
QByteArray DecodeQuotedPrintable(const QByteArray& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
        } else if (text.mid(i + 1, 2) == "\r\n") {
            i += 2;
        } else {
            out += char(text.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        }
    }
    return out;
}

struct Part {
    QMap<QByteArray, QByteArray> headers;
    QByteArray body;
};

// The parts of a multipart archive, each body without the line end that belongs to the
// boundary after it.
QList<Part> SplitArchive(const QByteArray& archive, QByteArray& boundary) {
    const qsizetype at = archive.indexOf("boundary=\"");
    boundary = archive.mid(at + 10, archive.indexOf('"', at + 10) - at - 10);
    const QByteArray delimiter = "\r\n--" + boundary;
    QList<Part> parts;
    qsizetype start = archive.indexOf("--" + boundary + "\r\n");
    while (start >= 0) {
        start = archive.indexOf("\r\n", start) + 2;
        const qsizetype end = archive.indexOf(delimiter, start);
        if (end < 0) break;
        const QByteArray chunk = archive.mid(start, end - start);
        const qsizetype split = chunk.indexOf("\r\n\r\n");
        Part part;
        for (const QByteArray& line : chunk.left(split).split('\n')) {
            const qsizetype colon = line.indexOf(':');
            part.headers[line.left(colon).trimmed()] = line.mid(colon + 1).trimmed();
        }
        part.body = chunk.mid(split + 4);
        parts << part;
        if (archive.mid(end + delimiter.size(), 2) == "--") break;
        start = end + 2;
    }
    return parts;
}

} // namespace

class ReferencePageTest : public QObject {
    Q_OBJECT

private slots:
    void replaceAll_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("separators")        << "C:\\Program Files\\Calc" << "\\" << "/"   << "C:/Program Files/Calc";
        QTest::newRow("blanks everywhere") << " a  b "                  << " "  << "%20" << "%20a%20%20b%20";
        QTest::newRow("none")              << "abc"                     << "x"  << "y"   << "abc";
        QTest::newRow("empty text")        << ""                        << " "  << "%20" << "";
        QTest::newRow("left to right")     << "aaa"                     << "aa" << "b"   << "ba";
        QTest::newRow("Cyrillic kept")     << "Мои документы"           << " "  << "%20" << "Мои%20документы";
        // clang-format on
    }

    void replaceAll() {
        QFETCH(QString, text);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, expected);
        QCOMPARE(ReplaceAll(text, from, to), expected);
    }

    // The address must be exactly what the viewer reports for the loaded file: the file URL
    // with blanks encoded and every other letter as it is.
    void documentPathAndAddress_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("address");
        QTest::newRow("blanks and Cyrillic")
            << "/opt/Мои программы/Расчёт  изоляции"
            << "/opt/Мои программы/Расчёт  изоляции/Resources/ЗорбаЛИТ.mht"
            << "file:///opt/Мои%20программы/Расчёт%20%20изоляции/"
               "Resources/ЗорбаЛИТ.mht";
        QTest::newRow("drive letter") << "C:/Program Files/Calc"
                                      << "C:/Program Files/Calc/Resources/ЗорбаЛИТ.mht"
                                      << "file:///C:/Program%20Files/Calc/Resources/ЗорбаЛИТ.mht";
        QTest::newRow("plain") << "/usr/lib/izolcalc"
                               << "/usr/lib/izolcalc/Resources/ЗорбаЛИТ.mht"
                               << "file:///usr/lib/izolcalc/Resources/ЗорбаЛИТ.mht";
    }

    void documentPathAndAddress() {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QFETCH(QString, address);
        const QString documentPath = ReferenceDocumentPath(folder);
        QCOMPARE(documentPath, QDir::toNativeSeparators(path));
        QCOMPARE(ReferenceDocumentAddress(documentPath), address);
        // The form in which the viewer plugin reports a loaded file.
        QCOMPARE(QUrl::fromLocalFile(path).toString(QUrl::EncodeSpaces), address);
    }

    void withoutViewerSaysSoWithThePath() {
        QTemporaryDir noPlugins;
        ReferencePage page(nullptr, {noPlugins.path()});
        QVERIFY(page.View() == nullptr); // nothing is loaded before the page is first used
        const QString path = ReferenceDocumentPath(QDir::toNativeSeparators("/opt/Мои программы"));
        page.ShowDocument(path);
        page.ShowDocument(path);
        QVERIFY(!page.HasViewer());
        QVERIFY(page.LocationURL().isEmpty());
        auto* note = qobject_cast<QLabel*>(page.View());
        QVERIFY(note);
        QVERIFY2(note->text().contains(QStringLiteral("не установлен")), qPrintable(note->text()));
        QVERIFY(note->text().contains(path));
    }

    void webEngineMayRunAsRoot() {
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
        AllowWebEngineAsRoot();
#if defined(Q_OS_UNIX)
        QCOMPARE(qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"), geteuid() == 0);
#endif
        // A choice made outside the program is kept.
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "0");
        AllowWebEngineAsRoot();
        QCOMPARE(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), QByteArray("0"));
    }

    // The shipped archive: CRLF line ends, short lines, and every part decodes back to the
    // file it was packed from.
    void shippedArchiveHoldsItsSources() {
        QFile file(QStringLiteral(IZOL_REFERENCE_DOCUMENT));
        QVERIFY2(file.open(QIODevice::ReadOnly), IZOL_REFERENCE_DOCUMENT);
        const QByteArray archive = file.readAll();
        QVERIFY(archive.endsWith("\r\n"));
        const QList<QByteArray> lines = archive.split('\n');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            QVERIFY2(lines[i].endsWith('\r') && lines[i].count('\r') == 1,
                     qPrintable(QString::number(i)));
            QVERIFY2(lines[i].size() <= 77, lines[i].constData());
        }

        QByteArray boundary;
        const QList<Part> parts = SplitArchive(archive, boundary);
        QVERIFY(archive.startsWith("From:"));
        QVERIFY(archive.left(archive.indexOf("\r\n\r\n")).contains("multipart/related"));
        const QStringList sources =
            QDir(QStringLiteral(IZOL_REFERENCE_SOURCE_DIR)).entryList(QDir::Files, QDir::Name);
        QCOMPARE(parts.size(), sources.size());
        QVERIFY(parts.front().headers["Content-Type"].startsWith("text/html"));
        QStringList packed;
        for (const Part& part : parts) {
            QVERIFY(!part.body.contains(boundary));
            const QByteArray location = part.headers["Content-Location"];
            const QString name = QString::fromUtf8(location.mid(location.lastIndexOf('/') + 1));
            packed << name;
            QFile source(QStringLiteral(IZOL_REFERENCE_SOURCE_DIR) + u'/' + name);
            QVERIFY2(source.open(QIODevice::ReadOnly), qPrintable(name));
            QByteArray expected = source.readAll();
            QByteArray decoded;
            const QByteArray encoding = part.headers["Content-Transfer-Encoding"];
            if (encoding == "quoted-printable") {
                decoded = DecodeQuotedPrintable(part.body);
                expected.replace("\r\n", "\n").replace("\n", "\r\n");
                if (expected.endsWith("\r\n")) expected.chop(2);
            } else {
                QCOMPARE(encoding, QByteArray("base64"));
                decoded = QByteArray::fromBase64(part.body);
            }
            QVERIFY2(decoded == expected, qPrintable(name));
        }
        packed.sort();
        QCOMPARE(packed, sources);
    }
};

QTEST_MAIN(ReferencePageTest)
#include "ReferencePageTest.moc"
