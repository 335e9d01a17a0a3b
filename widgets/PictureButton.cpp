#include "PictureButton.h"

#include "FocusFrame.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget* parent)
    : QAbstractButton(parent) {
    // Taking the focus on the press would let a field's range message swallow the click.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::setFaces(const QString& up, const QString& hover, const QString& down) {
    m_up = PictureFile(up);
    m_hover = PictureFile(hover);
    m_down = PictureFile(down);
    updateGeometry();
    update();
}

PictureButton::Face PictureButton::currentFace() const {
    if (isEnabled() && isDown()) return Face::Down;
    if (isEnabled() && underMouse()) return Face::Hover;
    return Face::Up;
}

QSize PictureButton::sizeHint() const {
    return m_up.naturalSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) p.setOpacity(0.45);
    const Face face = currentFace();
    const PictureFile& picture = face == Face::Down ? m_down : face == Face::Hover ? m_hover : m_up;
    (picture.isNull() ? m_up : picture).paint(p, rect());

    // The mouse user sees the faces; the keyboard user needs to see where the focus is.
    if (hasFocus() && m_keyboardFocus) PaintFocusFrame(p, rect(), 4);
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    // Enter presses a focused button as Space does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void PictureButton::focusInEvent(QFocusEvent* event) {
    m_keyboardFocus = event->reason() == Qt::TabFocusReason ||
                      event->reason() == Qt::BacktabFocusReason ||
                      event->reason() == Qt::ShortcutFocusReason;
    QAbstractButton::focusInEvent(event);
}

void PictureButton::enterEvent(QEnterEvent* event) {
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    update();
    QAbstractButton::leaveEvent(event);
}
