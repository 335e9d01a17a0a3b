// The program's command line: with none of its own options the window opens; otherwise the
// help, the version, or a batch that calculates a table without any window or display.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

struct CommandLine {
    enum class Mode { Window, Help, Version, Batch, Wrong };
    Mode mode = Mode::Window;
    QString input, output, pdf, schedule; // the batch's files; pdf and schedule optional
    QString error;                        // what is wrong, for Mode::Wrong
};

// The arguments after the program's name. Any that starts with "--", or "-h", makes them
// the program's own; otherwise they are left to Qt and the window.
CommandLine ParseCommandLine(const QStringList& arguments);

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
// code; none when the window is to open.
std::optional<int> RunCommandLine(int argc, char** argv);
