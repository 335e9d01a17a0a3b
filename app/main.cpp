// The program's entry: the application object, the main window, the event loop.
#include "Application.h"
#include "MessageBoxes.h"
#include "uGneneralForms.h"

#include <exception>

int main(int argc, char** argv) {
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
