#include "CommandLine.h"

#include "GroupBarGroup.h"
#include "ScheduleFile.h"
#include "ScheduleImport.h"
#include "SchedulePage.h"
#include "SchedulePrint.h"
#include "ScheduleStore.h"
#include "Utf8Text.h"
#include "uGneneralForms.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

const QString ProgramName = QStringLiteral("izolcalc");

// Progress is for a person watching, not for a log file.
bool StandardErrorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

bool IsOwnArgument(const QString& argument) {
    return argument.startsWith(QLatin1String("--")) || argument == QLatin1String("-h");
}

bool SameFile(const QString& a, const QString& b) {
    return !a.isEmpty() && !b.isEmpty() &&
           QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// Whether a window system is there to be tried. On X11 and Wayland it is named by the
// environment, or a platform is chosen for Qt (offscreen, vnc...); elsewhere there always
// is one.
bool DisplayNamed(const QStringList& arguments) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return arguments.contains(QLatin1String("-platform")) ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    Q_UNUSED(arguments);
    return true;
#endif
}

QString NoWindowText(const QString& why) {
    return QStringLiteral("окно программы не открыть: %1.\n"
                          "Без окна работают --batch, --help и --version / without a window, "
                          "--batch, --help and --version work.")
        .arg(why);
}

// What is wrong with arguments the parser refused, in our words: its own are English.
QString Refused(const QCommandLineParser& parser, const QStringList& arguments,
                const QList<QCommandLineOption>& takingFiles) {
    const auto name = [](const QString& argument) {
        QString n = argument.section(QLatin1Char('='), 0, 0);
        while (n.startsWith(QLatin1Char('-')))
            n.remove(0, 1);
        return n;
    };
    const auto takesFile = [&](const QString& n) {
        return std::any_of(takingFiles.begin(), takingFiles.end(),
                           [&](const QCommandLineOption& o) { return o.names().contains(n); });
    };
    const QStringList unknown = parser.unknownOptionNames();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1Char('-'))) continue;
        const QString shown = argument.section(QLatin1Char('='), 0, 0);
        if (unknown.contains(name(argument)))
            return QStringLiteral("неверный параметр / unknown option: %1").arg(shown);
        if (takesFile(name(argument)) && !argument.contains(QLatin1Char('=')) &&
            i + 1 == arguments.size())
            return QStringLiteral("после %1 нужно имя файла / %1 needs a file name").arg(shown);
        if (!takesFile(name(argument)) && argument.contains(QLatin1Char('=')))
            return QStringLiteral("у %1 не бывает значения / %1 takes no value").arg(shown);
    }
    return QStringLiteral("неверная командная строка / wrong command line");
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine command;
    if (std::none_of(arguments.begin(), arguments.end(), IsOwnArgument)) return command;

    const QCommandLineOption batch(QStringLiteral("batch"), {}, QStringLiteral("IN.csv"));
    const QCommandLineOption out(QStringLiteral("out"), {}, QStringLiteral("OUT.csv"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), {}, QStringLiteral("OUT.pdf"));
    const QCommandLineOption schedule(QStringLiteral("schedule"), {}, QStringLiteral("OUT.json"));
    const QCommandLineOption analysis(QStringLiteral("analysis"), {}, QStringLiteral("OUT.csv"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({batch, out, pdf, schedule, analysis, help, version});

    const auto wrong = [&](const QString& error) {
        command.mode = CommandLine::Mode::Wrong;
        command.error = error;
        return command;
    };
    if (!parser.parse(QStringList{ProgramName} + arguments))
        return wrong(Refused(parser, arguments, {batch, out, pdf, schedule, analysis}));
    if (!parser.positionalArguments().isEmpty())
        return wrong(QStringLiteral("лишний аргумент / unexpected argument: %1")
                         .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(help)) {
        command.mode = CommandLine::Mode::Help;
        return command;
    }
    if (parser.isSet(version)) {
        command.mode = CommandLine::Mode::Version;
        return command;
    }
    for (const QCommandLineOption* option : {&batch, &out, &pdf, &schedule, &analysis})
        if (parser.values(*option).size() > 1)
            return wrong(
                QStringLiteral("--%1 задан дважды / given twice").arg(option->names().first()));
    if (!parser.isSet(batch)) return wrong(QStringLiteral("нужен --batch / --batch is missing"));
    if (!parser.isSet(out)) return wrong(QStringLiteral("нужен --out / --out is missing"));

    command.input = parser.value(batch);
    command.output = parser.value(out);
    command.pdf = parser.value(pdf);
    command.schedule = parser.value(schedule);
    command.analysis = parser.value(analysis);
    for (const QString* written :
         {&command.output, &command.pdf, &command.schedule, &command.analysis})
        if (SameFile(*written, command.input))
            return wrong(QStringLiteral("результат записывался бы поверх таблицы %1 / the "
                                        "result would overwrite the input")
                             .arg(command.input));
    for (const QString* written : {&command.output, &command.pdf, &command.schedule})
        if (SameFile(*written, command.analysis))
            return wrong(QStringLiteral("анализ толщины записывался бы поверх %1 / the analysis "
                                        "would overwrite another result")
                             .arg(command.analysis));
    command.mode = CommandLine::Mode::Batch;
    return command;
}

CommandLine ParseWindowArguments(const QStringList& arguments) {
    CommandLine command;
    for (const QString& argument : arguments) {
        const QString suffix = QFileInfo(argument).suffix().toLower();
        if (argument.startsWith(QLatin1Char('-')))
            command.error = QStringLiteral("неверный параметр / unknown option: %1").arg(argument);
        else if (!IsScheduleFile(argument) && suffix != QLatin1String("csv") &&
                 suffix != QLatin1String("txt"))
            command.error = QStringLiteral("окно открывает ведомость .json или таблицу .csv, а не "
                                           "«%1» / the window opens a .json schedule or a .csv "
                                           "table")
                                .arg(argument);
        if (!command.error.isEmpty()) {
            command.mode = CommandLine::Mode::Wrong;
            command.files.clear();
            return command;
        }
        command.files << argument;
    }
    return command;
}

bool IsScheduleFile(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0;
}

QString UsageText() {
    return QStringLiteral(
               "Расчёт толщины теплоизоляции / Thermal insulation thickness\n"
               "\n"
               "Использование / Usage:\n"
               "  izolcalc [ВЕДОМОСТЬ.json | ТАБЛИЦА.csv]...\n"
               "      открыть окно программы; ведомость открыть, таблицу импортировать в "
               "ведомость\n"
               "      open the window; open the schedule, import the table into the schedule\n"
               "  izolcalc --batch ВХОД.csv --out ВЫХОД.csv [--pdf ВЕДОМОСТЬ.pdf] [--schedule "
               "ВЕДОМОСТЬ.json]\n"
               "                 [--analysis АНАЛИЗ.csv]\n"
               "      рассчитать каждую строку таблицы без окна; записать результаты как «Экспорт "
               "CSV»,\n"
               "      по желанию — ведомость в PDF и файл ведомости\n"
               "      calculate every line of the table without a window; write the results as "
               "the\n"
               "      CSV export does, and optionally the schedule as PDF and as a schedule file\n"
               "      --schedule: строки добавляются в конец ведомости (окно, открытое на ней,\n"
               "      их увидит); нет файла — он создаётся; файл, который не является\n"
               "      ведомостью, не изменяется (код 1); the lines are added to the end of the\n"
               "      schedule (a window open on it sees them); a missing file is made; a file\n"
               "      that is no schedule is left as it is (exit code 1)\n"
               "      --analysis: анализ толщины каждой строки — что даёт каждая толщина изделия\n"
               "      вокруг принятой; the thickness analysis of every line: what each product\n"
               "      thickness around the accepted one gives\n"
               "  izolcalc --help       эта справка / this help\n"
               "  izolcalc --version    версия / version\n"
               "\n"
               "Таблица — как «Шаблон для импорта» на странице «Ведомость»: UTF-8 или "
               "Windows-1251\n"
               "(«CSV (разделители — запятые)» из Excel), поля через «;», «,» или табуляцию, "
               "столбец\n"
               "«Вид расчёта» (1–%1 или название) и столбцы исходных данных.\n"
               "The table is laid out as the import template of the schedule page: UTF-8 or\n"
               "Windows-1251 (Excel's CSV in Russian), fields separated by «;», «,» or tabs,\n"
               "a «Вид расчёта» column (1-%1 or the kind's caption) and a column per input.\n"
               "\n"
               "Коды завершения / Exit codes:\n"
               "  0  все строки прочитаны / every line was read\n"
               "  1  строка или файл не прочитаны, или результат не записан /\n"
               "     a line or the file could not be read, or a result could not be written\n"
               "  2  неверная командная строка / wrong command line\n")
        .arg(workflow::CalcMethodCount);
}

int RunBatch(const CommandLine& command, QTextStream& out, QTextStream& err, bool progress) {
    int shownPercent = -1;
    const auto told = [&](std::size_t done, std::size_t total) {
        if (!progress || total == 0) return true;
        const int percent = int(done * 100 / total);
        if (percent != shownPercent) {
            shownPercent = percent;
            err << QStringLiteral("\rСтрока %1 из %2 (%3 %)").arg(done).arg(total).arg(percent)
                << Qt::flush;
        }
        return true;
    };
    const workflow::ImportResult result =
        schedule::ImportCsvFile(command.input, QDateTime::currentDateTime(), ",", told);
    if (shownPercent >= 0) err << '\n';
    if (!result.fileProblem.empty()) {
        err << command.input << ": " << Text(result.fileProblem) << '\n';
        return ExitNotRead;
    }
    for (const workflow::UnreadLine& line : result.unread)
        err << command.input << ':' << line.line << ": " << Text(line.reason) << '\n';

    QString error = schedule::WriteScheduleCsv(command.output, result.rows);
    if (error.isEmpty() && !command.schedule.isEmpty()) {
        // Added as a window adds them, under the lock, so that a window open on the file
        // shows them and nothing of the file's is lost.
        schedule::ScheduleStore store(command.schedule, schedule::FileOwner::User);
        const schedule::ScheduleStore::Outcome added = store.Apply(workflow::AddRows(result.rows));
        if (!added.applied) error = added.error;
    }
    if (error.isEmpty() && !command.analysis.isEmpty())
        error = schedule::WriteAnalysisCsv(command.analysis, result.rows);
    if (error.isEmpty() && !command.pdf.isEmpty())
        if (const QString reason =
                reports::WriteSchedulePdf(command.pdf, result.rows, QDate::currentDate());
            !reason.isEmpty())
            error = QStringLiteral("Не удалось записать ведомость в PDF «%1». %2.")
                        .arg(QDir::toNativeSeparators(command.pdf), reason);
    if (!error.isEmpty()) {
        err << error << '\n';
        return ExitNotRead;
    }
    out << Text(workflow::ImportSummary(result)) << '\n';
    return result.unread.empty() ? ExitDone : ExitNotRead;
}

std::optional<int> RunCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = ParseCommandLine(arguments);

    QTextStream out(stdout), err(stderr);
    switch (command.mode) {
    case CommandLine::Mode::Window:
        if (DisplayNamed(arguments)) return std::nullopt;
        return TellWrongCommandLine(NoWindowText(QStringLiteral("нет дисплея / no display")));
    case CommandLine::Mode::Help:
        out << UsageText();
        return ExitDone;
    case CommandLine::Mode::Version:
        out << ProgramName << ' ' << QStringLiteral(IZOL_VERSION) << '\n';
        return ExitDone;
    case CommandLine::Mode::Wrong:
        return TellWrongCommandLine(command.error);
    case CommandLine::Mode::Batch:
        break;
    }
    // The schedule's PDF is laid out with fonts, which need a GUI application; no display
    // is needed for it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // What Qt says of its own (no runtime folder for the platform) is no business of a
    // script's; our own problems are written to `err`.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) QTextStream(stderr) << message << '\n';
    });
    int noArguments = 1;
    QApplication app(noArguments, argv);
    return RunBatch(command, out, err, StandardErrorIsTerminal());
}

int TellWrongCommandLine(const QString& error) {
    QTextStream(stderr) << ProgramName << ": " << error << '\n' << HelpHint << '\n';
    return ExitWrongCommandLine;
}

void EndWhereNoDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        QTextStream(stderr) << qFormatLogMessage(type, context, message) << '\n';
        return;
    }
    // Qt's own words name plugins to reinstall; the display is what is missing.
    const QString display =
        qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
    TellWrongCommandLine(NoWindowText(
        display.isEmpty() ? QStringLiteral("нет дисплея / no display")
                          : QStringLiteral("дисплей %1 недоступен / the display cannot be reached")
                                .arg(display)));
    std::fflush(stderr);
    std::_Exit(ExitWrongCommandLine);
}

void OpenFilesInWindow(TFGeneral& window, const QStringList& files) {
    window.GrSchedule->click(0);
    for (const QString& file : files) {
        if (IsScheduleFile(file))
            window.Schedule()->OpenFile(file);
        else
            window.Schedule()->ImportFile(file);
    }
}
