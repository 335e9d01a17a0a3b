// A bare Qt window of the program's size, built like the program: the yardstick.
#include "FirstPaint.h"

#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint probe(app);
    QMainWindow window;
    window.setFixedSize(834, 561);
    window.show();
    return app.exec();
}
