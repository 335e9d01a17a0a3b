// The reference page with the real viewer plugin and web engine (run under xvfb-run): the
// shipped document opens from a folder with blanks and Cyrillic letters, the browser reports
// exactly the address the program builds, and a second visit does not reload it.
#include "ReferencePage.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

class ReferenceViewerTest : public QObject {
    Q_OBJECT

    static constexpr int LoadTimeoutMs = 60000;

private slots:
    void opensTheShippedDocumentOnceAndKeepsIt() {
        QTemporaryDir scratch;
        const QString folder = scratch.path() + QStringLiteral("/Программа с пробелами");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/Resources")));
        const QString path = ReferenceDocumentPath(QDir::toNativeSeparators(folder));
        QVERIFY(QFile::copy(QStringLiteral(IZOL_REFERENCE_DOCUMENT), path));

        ReferencePage page;
        page.resize(586, 499);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));

        page.ShowDocument(path);
        QVERIFY2(page.HasViewer(), "the reference viewer plugin did not load");
        QWidget* view = page.View();
        QSignalSpy loads(view, SIGNAL(loadStarted()));
        QSignalSpy finished(view, SIGNAL(loadFinished(bool)));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, LoadTimeoutMs);
        QVERIFY(finished.front().front().toBool());
        // What the engine itself reports for the file, and what the page hands on.
        QCOMPARE(view->property("url").toUrl().toString(QUrl::EncodeSpaces),
                 ReferenceDocumentAddress(path));
        QCOMPARE(page.LocationURL(), ReferenceDocumentAddress(path));
        QTRY_VERIFY_WITH_TIMEOUT(
            view->property("title").toString().startsWith(QStringLiteral("Справочные материалы")),
            LoadTimeoutMs);

        // A second visit finds the document shown and leaves it (and the reader's place) alone.
        ShowAgainWithoutReload(page, path, loads);

        // So does a visit after the reader has moved within the document by its table of
        // contents, which moves the engine's own address inside the archive.
        QWidget* input = view->focusProxy() ? view->focusProxy() : view;
        QTest::keyClick(input, Qt::Key_Tab);
        QTest::keyClick(input, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(view->property("url").toUrl().hasFragment(), LoadTimeoutMs);
        QTest::qWait(300);
        ShowAgainWithoutReload(page, path, loads);
    }

private:
    static void ShowAgainWithoutReload(ReferencePage& page, const QString& path,
                                       QSignalSpy& loads) {
        const int loadsSoFar = int(loads.size());
        page.ShowDocument(path);
        QTest::qWait(300);
        QCOMPARE(int(loads.size()), loadsSoFar);
        QCOMPARE(page.LocationURL(), ReferenceDocumentAddress(path));
    }
};

QTEST_MAIN(ReferenceViewerTest)
#include "ReferenceViewerTest.moc"
