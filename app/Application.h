// The application object: the title, the icon, the program's locale, and an exception that
// escapes an event handler shown in the error box while the program goes on.
#pragma once

#include <QApplication>
#include <QLocale>

class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    // The one source of the decimal and group separators: Russian, like every text of the
    // program; made the default locale when the application starts.
    static QLocale ProgramLocale() { return QLocale(QLocale::Russian, QLocale::Russia); }

    bool notify(QObject* receiver, QEvent* event) override;
};
