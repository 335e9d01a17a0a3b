// The command line: what its arguments ask for, and the program itself run as a script
// runs it, with no display at all.
#include "CommandLine.h"
#include "ScheduleFile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class CommandLineTest : public QObject {
    Q_OBJECT

private:
    struct Run {
        int exitCode = -1;
        QString out, err;
    };

    // The program as a script starts it on a machine without a display.
    static Run Program(const QStringList& arguments, const QString& folder) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder);
        process.start(QStringLiteral(IZOL_PROGRAM), arguments);
        if (!process.waitForFinished(120000)) return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void argumentsAreReadStrictlyOnceTheyAreOurs_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("pdf");
        using M = CommandLine::Mode;
        const auto row = [](const char* name, QStringList arguments, M mode, QString pdf = {}) {
            QTest::newRow(name) << arguments << int(mode) << pdf;
        };
        row("none", {}, M::Window);
        row("Qt's own", {"-platform", "offscreen"}, M::Window);
        row("help", {"--help"}, M::Help);
        row("-h", {"-h"}, M::Help);
        row("version", {"--version"}, M::Version);
        row("batch", {"--batch", "in.csv", "--out", "out.csv"}, M::Batch);
        row("with =", {"--batch=in.csv", "--out=out.csv", "--pdf", "out.pdf"}, M::Batch, "out.pdf");
        row("no --out", {"--batch", "in.csv"}, M::Wrong);
        row("no --batch", {"--out", "out.csv"}, M::Wrong);
        row("no file", {"--batch"}, M::Wrong);
        row("unknown", {"--bach", "in.csv", "--out", "out.csv"}, M::Wrong);
        row("extra", {"--batch", "in.csv", "--out", "out.csv", "more.csv"}, M::Wrong);
        row("twice", {"--batch", "a.csv", "--batch", "b.csv", "--out", "out.csv"}, M::Wrong);
        row("over the input", {"--batch", "in.csv", "--out", "./in.csv"}, M::Wrong);
    }
    void argumentsAreReadStrictlyOnceTheyAreOurs() {
        QFETCH(QStringList, arguments);
        QFETCH(int, mode);
        QFETCH(QString, pdf);
        const CommandLine command = ParseCommandLine(arguments);
        QCOMPARE(int(command.mode), mode);
        QCOMPARE(command.error.isEmpty(), mode != int(CommandLine::Mode::Wrong));
        QCOMPARE(command.pdf, pdf);
    }

    void helpVersionAndAWrongCommandLine() {
        QTemporaryDir dir;
        const Run help = Program({"--help"}, dir.path());
        QCOMPARE(help.exitCode, ExitDone);
        QCOMPARE(help.out, UsageText());
        const Run version = Program({"--version"}, dir.path());
        QCOMPARE(version.exitCode, ExitDone);
        QCOMPARE(version.out, QStringLiteral("izolcalc " IZOL_VERSION "\n"));
        const Run wrong = Program({"--batch", "in.csv"}, dir.path());
        QCOMPARE(wrong.exitCode, ExitWrongCommandLine);
        QCOMPARE(wrong.out, QString());
        QVERIFY(wrong.err.startsWith(QStringLiteral("izolcalc: нужен --out")));
        QVERIFY(wrong.err.endsWith(UsageText()));
    }

    // Every file it writes read back: the table imports to the rows of the schedule file,
    // the PDF is one.
    void aBatchWritesItsResultsWithoutADisplay() {
        QTemporaryDir dir;
        const Run run = Program({"--batch", IZOL_EXAMPLE, "--out", "out.csv", "--pdf", "out.pdf",
                                 "--schedule", "out.json"},
                                dir.path());
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, QStringLiteral("7 строк: 6 рассчитано, 1 отклонено\n"));
        QCOMPARE(run.exitCode, ExitDone);

        const schedule::LoadResult kept = schedule::LoadSchedule(dir.filePath("out.json"));
        QCOMPARE(kept.rows.size(), std::size_t(7));
        const QDateTime at =
            QDateTime::fromString(QString::fromStdString(kept.rows[0].calculatedAt), Qt::ISODate);
        const workflow::ImportResult back =
            schedule::ImportCsvFile(dir.filePath("out.csv"), at, ",");
        QVERIFY(back.unread.empty());
        QVERIFY(back.rows == kept.rows);

        QFile pdf(dir.filePath("out.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }

    void aLineOrAFileNotReadIsExitCodeOne() {
        QTemporaryDir dir;
        QFile table(dir.filePath("in.csv"));
        QVERIFY(table.open(QIODevice::WriteOnly));
        table.write("Вид расчёта;Обозначение\n9;Т1\n");
        table.close();
        const Run line = Program({"--batch", "in.csv", "--out", "out.csv"}, dir.path());
        QCOMPARE(line.exitCode, ExitNotRead);
        QCOMPARE(line.err, QStringLiteral("in.csv:2: неизвестный вид расчёта «9»: укажите номер "
                                          "от 1 до 5 или название вида\n"));
        QCOMPARE(line.out, QStringLiteral("1 строка: 0 рассчитано, 0 отклонено, 1 не прочитано\n"));
        QVERIFY(QFile::exists(dir.filePath("out.csv")));

        const Run missing = Program({"--batch", "none.csv", "--out", "out2.csv"}, dir.path());
        QCOMPARE(missing.exitCode, ExitNotRead);
        QVERIFY(missing.err.startsWith(QStringLiteral("none.csv: Не удалось открыть файл")));
        QVERIFY(!QFile::exists(dir.filePath("out2.csv")));

        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const Run unwritable = Program({"--batch", IZOL_EXAMPLE, "--out", "folder"}, dir.path());
        QCOMPARE(unwritable.exitCode, ExitNotRead);
        QVERIFY(unwritable.err.startsWith(QStringLiteral("Не удалось записать таблицу")));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
