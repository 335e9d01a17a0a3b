#include "Application.h"

#include "Fonts.h"
#include "MessageBoxes.h"
#include "Pictures.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>
#include <mutex>

namespace {

// Qt's own texts (the print, page setup and file dialogs, the reference page's menu) speak
// Russian like the rest of the program. A catalogue is read when Qt first asks it for a
// text, not at start-up: the window's first screen asks for none, and reading them cost
// its start-up memory.
class CatalogueOnFirstUse : public QTranslator {
public:
    CatalogueOnFirstUse(const char* catalogue, QObject* parent)
        : QTranslator(parent)
        , catalogueName_(catalogue) {}

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        // The catalogue is read into a translator of its own, which is not installed: loading
        // an installed one would send every window a language change.
        std::call_once(read_, [this] {
            // Where Qt was installed, or beside the program where a deployment copies them.
            const QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                      QCoreApplication::applicationDirPath() +
                                          QStringLiteral("/translations")};
            for (const QString& folder : folders)
                if (catalogue_.load(Application::ProgramLocale(), QLatin1String(catalogueName_),
                                    QStringLiteral("_"), folder))
                    break;
        });
        return catalogue_.translate(context, sourceText, disambiguation, n);
    }

private:
    const char* catalogueName_;
    mutable std::once_flag read_;
    mutable QTranslator catalogue_;
};

void InstallQtRussianTranslations(QCoreApplication* app) {
    for (const char* catalogue : {"qtbase", "qtwebengine"})
        QCoreApplication::installTranslator(new CatalogueOnFirstUse(catalogue, app));
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
    WaitUntilRead();
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
