// The program's own start: application object, main window, splash.
#include "Application.h"
#include "FirstPaint.h"
#include "uGneneralForms.h"

int main(int argc, char** argv) {
    Application app(argc, argv);
    FirstPaint probe(app);
    TFGeneral window;
    FGeneral = &window;
    window.show();
    return app.exec();
}
