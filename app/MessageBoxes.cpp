#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

} // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
    Hook() = std::move(hook);
}

void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption) {
    if (Hook()) {
        Hook()(text, caption);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void ShowErrorBox(const QString& message) {
    if (Hook()) {
        Hook()(message, QApplication::applicationName());
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}
