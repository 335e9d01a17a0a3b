// The one look of the keyboard focus on every control: a solid frame in the focus colour,
// plain to see on white and on the red faces alike.
#pragma once

#include "Colors.h"

#include <QPainter>

inline void PaintFocusFrame(QPainter& p, const QRectF& rect, qreal radius = 2) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(Colors::Focus), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
    p.restore();
}
