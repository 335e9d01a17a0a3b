// The bare window with one line of Cyrillic text: what drawing any text costs at start-up
// (font configuration, font files, shaping), which the bare window never pays.
#include "FirstPaint.h"

#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint probe(app);
    QMainWindow window;
    window.setFixedSize(834, 561);
    auto* label = new QLabel(QStringLiteral("Расчёт теплоизоляции"), &window);
    label->setGeometry(24, 24, 300, 20);
    window.show();
    return app.exec();
}
