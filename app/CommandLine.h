// The program's command line: with none of its own options the window opens, with the files
// it is given; otherwise the help, the version, or a batch that calculates a table without
// any window or display.
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

class QTextStream;
class TFGeneral;

struct CommandLine {
    enum class Mode { Window, Help, Version, Batch, Wrong };
    Mode mode = Mode::Window;
    QString input, output, pdf, schedule; // the batch's files; pdf and schedule optional
    QString analysis;                     // optional: the thickness analysis of every line
    QStringList files;                    // for the window: schedules and tables, in order
    QString error;                        // what is wrong, for Mode::Wrong
};

// The arguments after the program's name. Any that starts with "--", or "-h", makes them
// the program's own; otherwise they are left to Qt and the window.
CommandLine ParseCommandLine(const QStringList& arguments);

// What Qt has left of the window's arguments once it took its own (-platform, -style...):
// files to open, or Mode::Wrong for an option or a file of no type the window opens.
CommandLine ParseWindowArguments(const QStringList& arguments);

// A schedule file (.json) is opened; any other file is a table to import.
bool IsScheduleFile(const QString& path);

// How to call the program, in Russian and in English.
QString UsageText();

// Exit codes of the command line.
inline constexpr int ExitDone = 0;
inline constexpr int ExitNotRead = 1; // a line or file not read, or a result not written
inline constexpr int ExitWrongCommandLine = 2;

// Imports the batch's table, writes the files it asks for and prints the summary to `out`;
// problems, and progress when `progress` is set, go to `err`. Needs an application object.
int RunBatch(const CommandLine& command, QTextStream& out, QTextStream& err, bool progress);

// The work of a command line that is the program's own, done without a window: its exit
// code; none when the window is to open. Without a display, anything but the batch, the
// help and the version is told so and ends with ExitWrongCommandLine.
std::optional<int> RunCommandLine(int argc, char** argv);

// Qt's message handler while the application object is made: a display that is named but
// cannot be reached ends the program with a message and ExitWrongCommandLine instead of
// Qt's abort; other messages are written as Qt writes them.
void EndWhereNoDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message);

// Where a wrong command line sends the user, rather than the whole usage.
inline constexpr QStringView HelpHint = u"izolcalc --help — справка / help";

// Tells on stderr what is wrong, and HelpHint; ExitWrongCommandLine.
int TellWrongCommandLine(const QString& error);

// The window's files, as a file manager hands them over: the schedule page shown, each
// schedule opened and each table imported with its summary.
void OpenFilesInWindow(TFGeneral& window, const QStringList& files);
