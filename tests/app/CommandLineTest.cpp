// The command line: what its arguments ask for, the program itself run as a script runs it,
// with no display at all, and the files it hands to the window.
#include "CommandLine.h"
#include "MessageBoxes.h"
#include "ScheduleCsv.h"
#include "ScheduleFile.h"
#include "ScheduleModel.h"
#include "SchedulePage.h"
#include "Windows1251.h"
#include "uGneneralForms.h"

#include <QProcess>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <set>

class CommandLineTest : public QObject {
    Q_OBJECT

private:
    struct Run {
        int exitCode = -1;
        QString out, err;
    };

    // The program as a script starts it on a machine without a display, or with the
    // display named by `name=value`.
    static Run Program(const QStringList& arguments, const QString& folder,
                       const QString& display = {}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (!display.isEmpty())
            environment.insert(display.section('=', 0, 0), display.section('=', 1));
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
        row("analysis", {"--batch", "in.csv", "--out", "out.csv", "--analysis", "a.csv"}, M::Batch);
        row("analysis over the results",
            {"--batch", "in.csv", "--out", "out.csv", "--analysis", "./out.csv"}, M::Wrong);
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

    // What Qt's parser refuses, in our words and in English: its own are English alone.
    void aWrongOptionIsToldInOurWords_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown") << QStringList{"--bach", "in.csv", "--out", "out.csv"}
                                 << "неверный параметр / unknown option: --bach";
        QTest::newRow("unknown, one dash")
            << QStringList{"--batch", "in.csv", "-x"} << "неверный параметр / unknown option: -x";
        QTest::newRow("unknown with =") << QStringList{"--batch", "in.csv", "--outt=out.csv"}
                                        << "неверный параметр / unknown option: --outt";
        QTest::newRow("no file") << QStringList{"--out", "out.csv", "--batch"}
                                 << "после --batch нужно имя файла / --batch needs a file name";
        QTest::newRow("a value to a switch")
            << QStringList{"--version=2"}
            << "у --version не бывает значения / --version takes no value";
    }
    void aWrongOptionIsToldInOurWords() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const CommandLine command = ParseCommandLine(arguments);
        QCOMPARE(int(command.mode), int(CommandLine::Mode::Wrong));
        QCOMPARE(command.error, error);
    }

    // What Qt leaves of the window's arguments: files to open, by their type.
    void theWindowTakesSchedulesAndTables_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("wrong");
        QTest::newRow("none") << QStringList{} << false;
        QTest::newRow("files") << QStringList{"a.json", "Б.CSV", "в пути/t.txt"} << false;
        QTest::newRow("-v") << QStringList{"-v"} << true;
        QTest::newRow("after a file") << QStringList{"a.json", "-x"} << true;
        QTest::newRow("a PDF") << QStringList{"a.pdf"} << true;
        QTest::newRow("no suffix") << QStringList{"json"} << true;
    }
    void theWindowTakesSchedulesAndTables() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, wrong);
        const CommandLine command = ParseWindowArguments(arguments);
        QCOMPARE(command.mode == CommandLine::Mode::Wrong, wrong);
        QCOMPARE(command.error.isEmpty(), !wrong);
        QCOMPARE(command.files, wrong ? QStringList{} : arguments);
    }

    // Qt would abort (134); a script gets a message and the code of a wrong command line.
    void withoutADisplayOnlyTheBatchHelpAndVersionWork_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("why");
        const QString none = QStringLiteral("нет дисплея");
        QTest::newRow("the window") << QStringList{} << QString() << none;
        QTest::newRow("a table") << QStringList{"table.csv"} << QString() << none;
        QTest::newRow("a schedule") << QStringList{"schedule.json"} << QString() << none;
        QTest::newRow("-v") << QStringList{"-v"} << QString() << none;
        QTest::newRow("Qt's option") << QStringList{"-style", "fusion"} << QString() << none;
        QTest::newRow("a display not there")
            << QStringList{"table.csv"} << QStringLiteral("DISPLAY=:97")
            << "дисплей :97 недоступен";
    }
    void withoutADisplayOnlyTheBatchHelpAndVersionWork() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, display);
        QFETCH(QString, why);
        QTemporaryDir dir;
        const Run run = Program(arguments, dir.path(), display);
        QCOMPARE(run.exitCode, ExitWrongCommandLine);
        QCOMPARE(run.out, QString());
        const QString said = QStringLiteral("izolcalc: окно программы не открыть: ") + why;
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
        QVERIFY(run.err.contains(QStringLiteral("Без окна работают --batch, --help и --version")));
        QVERIFY2(run.err.endsWith(QStringLiteral(".\nizolcalc --help — справка / help\n")),
                 qPrintable(run.err));
    }

    // With a display, Qt takes its own options; what is left must be files.
    void anUnknownOptionWithADisplayIsAWrongCommandLine() {
        QTemporaryDir dir;
        const Run run = Program({"-platform", "offscreen", "-v"}, dir.path());
        QCOMPARE(run.exitCode, ExitWrongCommandLine);
        QVERIFY2(
            run.err.contains(QStringLiteral("izolcalc: неверный параметр / unknown option: -v")),
            qPrintable(run.err));
    }

    void helpVersionAndAWrongCommandLine() {
        QTemporaryDir dir;
        const Run help = Program({"--help"}, dir.path());
        QCOMPARE(help.exitCode, ExitDone);
        QCOMPARE(help.out, UsageText());
        const Run version = Program({"--version"}, dir.path());
        QCOMPARE(version.exitCode, ExitDone);
        QCOMPARE(version.out, QStringLiteral("izolcalc " IZOL_VERSION "\n"));
        // One line and where the help is, not the whole help.
        const Run wrong = Program({"--batch", "in.csv"}, dir.path());
        QCOMPARE(wrong.exitCode, ExitWrongCommandLine);
        QCOMPARE(wrong.out, QString());
        QCOMPARE(wrong.err, QStringLiteral("izolcalc: нужен --out / --out is missing\n"
                                           "izolcalc --help — справка / help\n"));
        const Run unknown = Program({"--bach", "in.csv", "--out", "out.csv"}, dir.path());
        QCOMPARE(unknown.exitCode, ExitWrongCommandLine);
        QCOMPARE(unknown.err,
                 QStringLiteral("izolcalc: неверный параметр / unknown option: --bach\n"
                                "izolcalc --help — справка / help\n"));
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
        QVERIFY(workflow::Schedule(back.rows).Rows() == kept.rows); // the file numbers its rows

        QFile pdf(dir.filePath("out.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }

    // The analysis of every line: a line per figure of each thickness, the rejected line
    // said to be so, and the accepted thickness marked where the schedule has it.
    void aBatchWritesTheThicknessAnalysisOfEveryLine() {
        QTemporaryDir dir;
        const Run run = Program({"--batch", IZOL_EXAMPLE, "--out", "out.csv", "--schedule",
                                 "out.json", "--analysis", "analysis.csv"},
                                dir.path());
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, ExitDone);
        QFile file(dir.filePath("analysis.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::string csv = file.readAll().toStdString();
        const auto records = workflow::SplitCsv(csv);
        QVERIFY(records.has_value());
        QCOMPARE(records->front().at(0).text, std::string("№"));
        const schedule::LoadResult kept = schedule::LoadSchedule(dir.filePath("out.json"));
        std::set<std::string> numbered, accepted, rejected;
        for (std::size_t i = 1; i < records->size(); ++i) {
            const workflow::CsvRecord& r = (*records)[i];
            QCOMPARE(r.size(), std::size_t(10));
            numbered.insert(r[0].text);
            if (r[9].text.starts_with("принята")) accepted.insert(r[0].text + ";" + r[3].text);
            if (r[8].text == workflow::RejectedVerdict) rejected.insert(r[0].text);
        }
        QCOMPARE(numbered.size(), kept.rows.size());
        QCOMPARE(rejected.size(), std::size_t(1));
        for (std::size_t i = 0; i < kept.rows.size(); ++i)
            if (kept.rows[i].Calculated())
                QVERIFY(accepted.contains(std::to_string(i + 1) + ";" +
                                          std::to_string(kept.rows[i].acceptedMm)));
    }

    // --schedule adds the lines to a schedule there is, makes one where there is none, and
    // refuses any other file, which stays as it was.
    void aBatchAddsToTheScheduleItNames() {
        QTemporaryDir dir;
        const QStringList batch = {"--batch", IZOL_EXAMPLE, "--out", "out.csv", "--schedule"};
        const Run made = Program(batch + QStringList{"made.json"}, dir.path());
        QCOMPARE(made.exitCode, ExitDone);
        const std::vector<workflow::ScheduleRow> first =
            schedule::LoadSchedule(dir.filePath("made.json")).rows;
        QCOMPARE(first.size(), std::size_t(7));

        const Run added = Program(batch + QStringList{"made.json"}, dir.path());
        QCOMPARE(added.err, QString());
        QCOMPARE(added.exitCode, ExitDone);
        const std::vector<workflow::ScheduleRow> both =
            schedule::LoadSchedule(dir.filePath("made.json")).rows;
        QCOMPARE(both.size(), std::size_t(14));
        QVERIFY(std::equal(first.begin(), first.end(), both.begin()));
        QCOMPARE(both[7].id, workflow::RowId(8));

        const QByteArray notes = "{\"notes\": [\"не ведомость\"]}\n";
        QFile file(dir.filePath("notes.json"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(notes) == notes.size());
        file.close();
        const Run refused = Program(batch + QStringList{"notes.json"}, dir.path());
        QCOMPARE(refused.exitCode, ExitNotRead);
        QCOMPARE(refused.err, QStringLiteral("Файл «notes.json» не является ведомостью этой "
                                             "программы. Файл оставлен без изменений.\n"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), notes);
        QCOMPARE(QDir(dir.path()).entryList({"notes*"}, QDir::Files | QDir::Hidden),
                 QStringList{"notes.json"});
    }

    // As Excel in a Russian office saves the table: Cyrillic tags and materials in
    // Windows-1251. The results are written in UTF-8, a plane's diameter cell empty.
    void aBatchReadsATableInWindows1251() {
        QTemporaryDir dir;
        const std::string table = workflow::Utf8ToWindows1251(
            "Вид расчёта;Обозначение;Объект;Расположение;Покрытие;Материал;Температура воздуха "
            "(°C);Температура теплоносителя (°C);Температура на поверхности (°C);Диаметр трубы "
            "(мм)\r\n"
            "2;Т1-108;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150;45;108\r\n"
            "2;Бак №2;Плоскость;В помещении;Металл;Мат прошивной ЗОРБАЛИТ-80.;20;150;45;\r\n");
        QFile in(dir.filePath("in.csv"));
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write(table.data(), qint64(table.size()));
        in.close();
        const Run run = Program({"--batch", "in.csv", "--out", "out.csv"}, dir.path());
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, QStringLiteral("2 строки: 2 рассчитано, 0 отклонено; файл прочитан в "
                                         "кодировке Windows-1251\n"));
        QCOMPARE(run.exitCode, ExitDone);

        QFile out(dir.filePath("out.csv"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        const std::string csv = out.readAll().toStdString();
        QVERIFY(csv.starts_with("\xEF\xBB\xBF"));
        const auto records = workflow::SplitCsv(csv);
        QVERIFY(records.has_value());
        QCOMPARE(records->size(), std::size_t(3));
        std::vector<std::string> columns;
        for (int c : {1, 3, 6})
            columns.push_back(records->front().at(std::size_t(c)).text);
        QCOMPARE(columns, (std::vector<std::string>{"Обозначение", "Объект", "Материал"}));
        const workflow::CsvRecord& pipe = (*records)[1];
        const workflow::CsvRecord& plane = (*records)[2];
        QCOMPARE(pipe[1].text, std::string("Т1-108"));
        QCOMPARE(pipe[6].text, std::string("Цилиндр ЗОРБАЛИТ - 80"));
        QCOMPARE(plane[1].text, std::string("Бак №2"));
        QCOMPARE(plane[3].text, std::string("Плоскость"));
        const std::size_t diameter =
            std::size_t(std::ranges::find(records->front(), std::string("Диаметр трубы (мм)"),
                                          &workflow::CsvField::text) -
                        records->front().begin());
        QVERIFY(diameter < records->front().size());
        QCOMPARE(pipe[diameter].text, std::string("108"));
        QVERIFY(plane[diameter] == workflow::CsvField{});
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
        QCOMPARE(missing.err, QStringLiteral("none.csv: Не удалось открыть файл «none.csv». Нет "
                                             "такого файла или каталога.\n"));
        QVERIFY(!QFile::exists(dir.filePath("out2.csv")));

        QVERIFY(QDir(dir.path()).mkdir("folder"));
        const Run unwritable = Program({"--batch", IZOL_EXAMPLE, "--out", "folder"}, dir.path());
        QCOMPARE(unwritable.exitCode, ExitNotRead);
        QVERIFY(unwritable.err.startsWith(QStringLiteral("Не удалось записать таблицу")));
    }

    // The message says why in the user's words, from the system's reason.
    void aPdfNotWrittenNamesTheReason_data() {
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a read-only folder") << "read-only/out.pdf"
                                            << "Нет прав на запись в папку «%1/read-only»";
        QTest::newRow("a folder") << "read-only"
                                  << "Это папка, а не файл";
        QTest::newRow("under a file") << "in.csv/out.pdf"
                                      << "Нет такого файла или каталога";
    }
    void aPdfNotWrittenNamesTheReason() {
        QFETCH(QString, pdf);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("read-only"));
        QVERIFY(QFile::setPermissions(dir.filePath("read-only"),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QVERIFY(QFile::copy(IZOL_EXAMPLE, dir.filePath("in.csv")));
        QFile probe(dir.filePath(pdf));
        if (probe.open(QIODevice::WriteOnly)) QSKIP("the folder is writable for this user (root)");
        const Run run =
            Program({"--batch", "in.csv", "--out", "out.csv", "--pdf", pdf}, dir.path());
        QCOMPARE(run.exitCode, ExitNotRead);
        QCOMPARE(run.err, QStringLiteral("Не удалось записать ведомость в PDF «%1». %2.\n")
                              .arg(pdf, reason.arg(QDir::toNativeSeparators(dir.path()))));
        QCOMPARE(run.out, QString());
    }

    // As a file manager opens them: the schedule page comes up, the page then works in a
    // schedule given (the working file keeps its rows), a table is added to it with its
    // summary.
    void theWindowOpensTheFilesItIsGiven() {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(schedule::DefaultSchedulePath());
        QStringList boxes, questions;
        SetMessageBoxHook([&](const QString& text, const QString&) { boxes << text; });
        SetQuestionHook([&](const QString& text, const QString&) {
            questions << text;
            return true;
        });
        QTemporaryDir dir;
        const workflow::ImportResult example =
            schedule::ImportCsvFile(IZOL_EXAMPLE, QDateTime::currentDateTime(), ",");
        const QString one = dir.filePath("one.json");
        QVERIFY(schedule::SaveSchedule(one, {example.rows[0]}).isEmpty());

        TFGeneral window;
        window.show();
        const ScheduleModel& rows = *window.findChild<ScheduleModel*>();
        OpenFilesInWindow(window, {IZOL_EXAMPLE});
        QCOMPARE(window.Notebook1->currentWidget(), window.Schedule());
        QCOMPARE(boxes,
                 QStringList{
                     "Импорт из файла «batch-example.csv»: 7 строк: 6 рассчитано, 1 отклонено."});
        QCOMPARE(rows.rowCount(), 7);

        OpenFilesInWindow(window, {one, IZOL_EXAMPLE});
        QCOMPARE(questions, QStringList());
        QCOMPARE(rows.Path(), one);
        QCOMPARE(rows.rowCount(), 8);
        QCOMPARE(schedule::LoadSchedule(one).rows.size(), std::size_t(8));
        QCOMPARE(schedule::LoadSchedule(schedule::DefaultSchedulePath()).rows.size(),
                 std::size_t(7));
        workflow::ScheduleRow opened = rows.Rows()[0];
        opened.id = workflow::NoRowId; // a row saved is given an id of the schedule's own
        QVERIFY(opened == example.rows[0]);
        SetMessageBoxHook({});
        SetQuestionHook({});
    }
};

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
