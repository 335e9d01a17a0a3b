#include "MessageBoxes.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include <algorithm>

namespace {

// The window manager draws the caption in its own font, often bold and larger than the
// program's, beside an icon and three buttons.
constexpr int TitleBarControls = 130; // px
constexpr int LeastTitlePointSize = 10;

// A box as wide as its caption, also the error box, which QMessageBox sizes by its text.
void WidenForCaption(QMessageBox& box, const QString& caption) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(
        new QSpacerItem(WidthForCaption(caption), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
        grid->rowCount(), 0, 1, grid->columnCount());
}

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

QuestionHook& Questions() {
    static QuestionHook hook;
    return hook;
}

} // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
    Hook() = std::move(hook);
}

void SetQuestionHook(QuestionHook hook) {
    Questions() = std::move(hook);
}

bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
    if (Questions()) return Questions()(text, caption);
    auto box = MakeMessageBox(parent, text, caption);
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::No);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("&Да"));
    box->button(QMessageBox::No)->setText(QStringLiteral("&Нет"));
    return box->exec() == QMessageBox::Yes;
}

void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption) {
    if (Hook()) {
        Hook()(text, caption);
        return;
    }
    MakeMessageBox(parent, text, caption)->exec();
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text,
                                            const QString& caption) {
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    WidenForCaption(*box, caption);
    return box;
}

int WidthForCaption(const QString& caption) {
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setBold(true);
    title.setPointSizeF(std::max<qreal>(title.pointSizeF(), LeastTitlePointSize));
    return QFontMetrics(title).horizontalAdvance(caption) + TitleBarControls;
}

void ShowErrorBox(const QString& message) {
    if (Hook()) {
        Hook()(message, QApplication::applicationName());
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), message,
                    QMessageBox::Ok, QApplication::activeWindow());
    WidenForCaption(box, box.windowTitle());
    box.exec();
}
