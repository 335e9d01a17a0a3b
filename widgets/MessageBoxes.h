// Every message box of the program goes through here, the window's and the report
// preview's alike: the modal box with an OK button only, and the error box for an
// exception that escaped a handler. Tests replace the boxes
// with a hook, so that no test ever waits on a modal dialog.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

// Modal, OK only, no icon; returns when the user has closed it.
void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption);

// The box that ShowMessageBox shows, not yet shown; at least as wide as its caption needs in
// the title bar.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text,
                                            const QString& caption);
// How wide a window must be for a title bar to show the whole caption.
int WidthForCaption(const QString& caption);

// A question with «Да» and «Нет», «Нет» the default; true for «Да».
bool AskYesNo(QWidget* parent, const QString& text, const QString& caption);

// The standard error box with the exception's message.
void ShowErrorBox(const QString& message);

// While set, boxes are handed to the hook instead of being shown.
using MessageBoxHook = std::function<void(const QString& text, const QString& caption)>;
void SetMessageBoxHook(MessageBoxHook hook);
// While set, questions are answered by the hook instead of the user.
using QuestionHook = std::function<bool(const QString& text, const QString& caption)>;
void SetQuestionHook(QuestionHook hook);
