#include "PictureButton.h"

#include "FocusFrame.h"
#include "PicturePlacement.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>
#include <cmath>

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

    if (m_letter && !shortcut().isEmpty() &&
        style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this)) {
        // In the picture's units, scaled as the face is: a unit thick, a unit and a half
        // under the baseline, clear of the letters' feet; on whole device pixels, sharp at
        // any scale.
        const QSizeF natural = m_up.naturalSize();
        const QRectF placed = PlacedPicture(natural, rect(), Qt::AlignCenter);
        const qreal scale = natural.isEmpty() ? 1 : placed.width() / natural.width();
        const qreal ratio = devicePixelRatioF();
        const auto device = [ratio](qreal x) { return std::round(x * ratio) / ratio; };
        const qreal top = m_letter->baseline + 1.5 + (face == Face::Down ? 1 : 0);
        const qreal y = device(placed.top() + top * scale);
        const QRgb colour = face == Face::Down    ? m_letter->down
                            : face == Face::Hover ? m_letter->hover
                                                  : m_letter->up;
        p.fillRect(QRectF(QPointF(device(placed.left() + m_letter->x0 * scale), y),
                          QPointF(device(placed.left() + m_letter->x1 * scale),
                                  y + std::max(device(scale), 1 / ratio))),
                   QColor::fromRgba(colour));
    }

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
