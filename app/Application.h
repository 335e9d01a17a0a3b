// The application object: the title, the icon, the program's locale, and an exception that
// escapes an event handler shown in the error box while the program goes on.
#pragma once

#include "FontConfigurationReader.h"

#include <QApplication>
#include <QLocale>

// The font configuration is read while QApplication connects to the display: its reader is
// a base listed before QApplication, so that it starts first.
class Application : private FontConfigurationReader, public QApplication {
public:
    Application(int& argc, char** argv);

    // The one source of the decimal and group separators: Russian, like every text of the
    // program; made the default locale when the application starts.
    static QLocale ProgramLocale() { return QLocale(QLocale::Russian, QLocale::Russia); }

    bool notify(QObject* receiver, QEvent* event) override;
};
