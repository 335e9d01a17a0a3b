// The application object: the title, the icon, and an exception that escapes an event
// handler shown in the error box while the program goes on.
#pragma once

#include <QApplication>

class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
