#include "Application.h"

#include "Fonts.h"
#include "MessageBoxes.h"
#include "Pictures.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>

namespace {

// Qt's own texts (the print, page setup and file dialogs, the reference page's menu) speak
// Russian like the rest of the program.
void InstallQtRussianTranslations(QCoreApplication* app) {
    // Where Qt was installed, or beside the program where a deployment copies them.
    const QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                              QCoreApplication::applicationDirPath() +
                                  QStringLiteral("/translations")};
    for (const char* catalogue : {"qtbase", "qtwebengine"}) {
        auto* translator = new QTranslator(app);
        for (const QString& folder : folders) {
            if (translator->load(Application::ProgramLocale(), QLatin1String(catalogue),
                                 QStringLiteral("_"), folder)) {
                QCoreApplication::installTranslator(translator);
                break;
            }
        }
        if (translator->isEmpty()) delete translator;
    }
}

} // namespace

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv) {
    // Every figure the program shows, prints, stores and exports is written the Russian way,
    // whatever the environment says (C.UTF-8 would give "14.7" beside the "9,0" of a
    // schedule made elsewhere): the widgets and QLocale() read this default.
    QLocale::setDefault(ProgramLocale());
    InstallQtRussianTranslations(this);
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
