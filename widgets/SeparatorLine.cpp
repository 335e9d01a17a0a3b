#include "SeparatorLine.h"

#include "Colors.h"

#include <QLinearGradient>
#include <QPainter>

SeparatorLine::SeparatorLine(QWidget* parent)
    : QWidget(parent) {}

void SeparatorLine::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor accent(Colors::Accent);
    QColor faded = accent;
    faded.setAlpha(0);

    QLinearGradient glow(0, 0, width(), 0);
    glow.setColorAt(0.0, accent);
    glow.setColorAt(0.45, QColor(218, 37, 28, 150));
    glow.setColorAt(1.0, faded);
    p.fillRect(rect(), glow);

    // A lighter line along the top gives the rule a little depth.
    QLinearGradient shine(0, 0, width(), 0);
    shine.setColorAt(0.0, QColor(255, 140, 130, 200));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(QRect(0, 0, width(), 1), shine);
}
