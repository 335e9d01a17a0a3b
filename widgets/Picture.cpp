#include "Picture.h"

#include <QMouseEvent>
#include <QPainter>

Picture::Picture(QWidget* parent)
    : QWidget(parent) {}

Picture::Picture(const QString& path, QWidget* parent)
    : QWidget(parent)
    , m_picture(path) {}

void Picture::setSource(const QString& path) {
    m_picture = PictureFile(path);
    updateGeometry();
    update();
}

void Picture::setHoverSource(const QString& path) {
    m_hover = PictureFile(path);
    update();
}

void Picture::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

QSize Picture::sizeHint() const {
    return m_picture.naturalSize().toSize();
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool hot = isEnabled() && underMouse() && !m_hover.isNull();
    (hot ? m_hover : m_picture).paint(p, rect(), m_alignment);
}

void Picture::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) emit clicked();
    QWidget::mouseReleaseEvent(event);
}

void Picture::enterEvent(QEnterEvent* event) {
    update();
    QWidget::enterEvent(event);
}

void Picture::leaveEvent(QEvent* event) {
    update();
    QWidget::leaveEvent(event);
}
