#include "Application.h"

#include "Fonts.h"
#include "MessageBoxes.h"
#include "Pictures.h"

#include <exception>

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Расчёт теплоизоляции"));
    setDesktopFileName(QStringLiteral("izolcalc"));
    setWindowIcon(ApplicationIcon());
    setFont(UiFont(UiFace::MsSansSerif, 11));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(QString());
    }
    return false;
}
