// The file type the package declares, in a MIME database made as a system makes it from
// every installed package: a schedule the program saves is of that type, so a file manager
// opens it with the program, while any other JSON file stays JSON.
#include "ScheduleFile.h"

#include <QDir>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class FileTypeTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() {
        const QStringList system = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                             QStringLiteral("mime/packages"),
                                                             QStandardPaths::LocateDirectory);
        QVERIFY(!system.isEmpty());
        const QString packages = dir.filePath(QStringLiteral("share/mime/packages"));
        QVERIFY(QDir().mkpath(packages));
        for (const QString& folder : system)
            for (const QFileInfo& file : QDir(folder).entryInfoList({"*.xml"}, QDir::Files))
                QFile::copy(file.filePath(), packages + '/' + file.fileName());
        QFile::remove(packages + QStringLiteral("/izolcalc.xml"));
        QVERIFY(QFile::copy(QStringLiteral(IZOL_MIME_XML), packages + "/izolcalc.xml"));
        QCOMPARE(QProcess::execute(QStringLiteral(UPDATE_MIME_DATABASE),
                                   {dir.filePath(QStringLiteral("share/mime"))}),
                 0);
        // Read before the database is first used.
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("home")).toUtf8());
        qputenv("XDG_DATA_DIRS", dir.filePath(QStringLiteral("share")).toUtf8());
    }

    void aScheduleIsOfItsOwnTypeAndOtherJsonIsNot() {
        const QString schedule = dir.filePath(QStringLiteral("Ведомость.json"));
        const workflow::ImportResult example =
            schedule::ImportCsvFile(IZOL_EXAMPLE, QDateTime::currentDateTime(), ",");
        QVERIFY(schedule::SaveSchedule(schedule, example.rows).isEmpty());
        QFile other(dir.filePath(QStringLiteral("package.json")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("{\n    \"format\": \"other\",\n    \"name\": \"izolcalc-schedule\"\n}\n");
        other.close();

        const QMimeDatabase types;
        const QMimeType own = types.mimeTypeForFile(schedule);
        QCOMPARE(own.name(), QStringLiteral("application/x-izolcalc-schedule"));
        QVERIFY(own.inherits(QStringLiteral("application/json")));
        QCOMPARE(types.mimeTypeForFile(other.fileName()).name(),
                 QStringLiteral("application/json"));
        QCOMPARE(types
                     .mimeTypeForFile(dir.filePath(QStringLiteral("empty.json")),
                                      QMimeDatabase::MatchExtension)
                     .name(),
                 QStringLiteral("application/json"));
    }
};

QTEST_GUILESS_MAIN(FileTypeTest)
#include "FileTypeTest.moc"
