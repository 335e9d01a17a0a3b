// The program's entry: a command line of its own runs without a window; otherwise the
// application object, the main window, the event loop.
#include "Application.h"
#include "CommandLine.h"
#include "MessageBoxes.h"
#include "uGneneralForms.h"

#include <exception>
#include <optional>

int main(int argc, char** argv) {
    if (const std::optional<int> exitCode = RunCommandLine(argc, argv)) return *exitCode;
    Application app(argc, argv);
    try {
        TFGeneral window;
        FGeneral = &window;
        window.show();
        app.exec();
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(QString());
    }
    return 0;
}
