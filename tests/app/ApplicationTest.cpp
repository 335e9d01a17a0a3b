// An exception that escapes an event handler is shown in the error box, and the program
// goes on with the next event; Qt's own texts and the figures are Russian from the start;
// the window's face is found with the font configuration read ahead.
#include "Application.h"
#include "Fonts.h"
#include "MessageBoxes.h"
#include "Utf8Text.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <QTimer>
#include <QtTest>
#include <stdexcept>

namespace {

class Throwing : public QObject {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) throw std::runtime_error("Сбой обработчика");
        if (event->type() == QEvent::User + 1) throw 42;
        return QObject::event(event);
    }
};

} // namespace

int main(int argc, char** argv) {
    // An environment without a Russian locale, as in a container or a bare session.
    qputenv("LC_ALL", "C.UTF-8");
    QLocale::setDefault(QLocale::c());
    Application app(argc, argv);
    QStringList shown;
    SetMessageBoxHook([&](const QString& text, const QString&) { shown << text; });

    Throwing object;
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&object, new QEvent(QEvent::Type(QEvent::User + 1)));
    bool wentOn = false;
    QTimer::singleShot(0, [&] {
        wentOn = true;
        app.quit();
    });
    app.exec();

    // Qt's own texts speak Russian from the start: its dialogs and the reference page's menu.
    const QStringList qtTexts{QCoreApplication::translate("QPlatformTheme", "Cancel"),
                              QCoreApplication::translate("RenderViewContextMenuQt", "Back")};
    // Every figure is written with one separator, the program's, whatever the environment.
    const QString figures = QLocale().toString(1234.5, 'f', 1) + " " + Text(DecimalSeparator());
    // The face of every window: the installed stand-in, found among the fonts that the
    // configuration read ahead lists.
    const QString face = QFontInfo(QApplication::font()).family();
    const bool faceFound = face == InstalledFamily(QStringLiteral("MS Sans Serif")) &&
                           QFontDatabase::families().contains(face);
    const bool ok = faceFound && wentOn &&
                    shown == QStringList{QStringLiteral("Сбой обработчика"), QString()} &&
                    figures == QStringLiteral("1\u00A0234,5 ,") &&
                    QCoreApplication::applicationName() == QStringLiteral("Расчёт теплоизоляции") &&
                    qtTexts == QStringList{QStringLiteral("Отмена"), QStringLiteral("Назад")};
    if (!ok)
        qWarning() << "shown:" << shown << "went on:" << wentOn << "Qt's texts:" << qtTexts
                   << "figures:" << figures << "face:" << face;
    return ok ? 0 : 1;
}
