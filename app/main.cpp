// The program's entry: a command line of its own runs without a window; otherwise the
// application object, the main window with the files it was given, the event loop.
#include "Application.h"
#include "CommandLine.h"
#include "MessageBoxes.h"
#include "uGneneralForms.h"

#include <QTimer>

#include <exception>
#include <optional>

int main(int argc, char** argv) {
    if (const std::optional<int> exitCode = RunCommandLine(argc, argv)) return *exitCode;
    const QtMessageHandler qtHandler = qInstallMessageHandler(EndWhereNoDisplay);
    Application app(argc, argv);
    qInstallMessageHandler(qtHandler);
    // What Qt took of the arguments is gone from them.
    const CommandLine command = ParseWindowArguments(app.arguments().mid(1));
    if (command.mode == CommandLine::Mode::Wrong) return TellWrongCommandLine(command.error);
    try {
        TFGeneral window;
        FGeneral = &window;
        window.show();
        // Their boxes come over the window, once it is up.
        if (!command.files.isEmpty())
            QTimer::singleShot(0, &window, [&] { OpenFilesInWindow(window, command.files); });
        app.exec();
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(QString());
    }
    return 0;
}
