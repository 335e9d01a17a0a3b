#include "Backdrop.h"

#include "Colors.h"

#include <QPainter>

Backdrop::Backdrop(QWidget* parent)
    : QWidget(parent)
    , m_color(Colors::Accent) {}

void Backdrop::setColor(const QColor& color) {
    m_color = color;
    update();
}

void Backdrop::setRadius(int px) {
    m_radius = qMax(0, px);
    update();
}

void Backdrop::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_radius == 0) {
        p.fillRect(rect(), m_color);
        return;
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(m_color);
    p.drawRoundedRect(rect(), m_radius, m_radius);
}
