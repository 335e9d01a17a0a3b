// Where a picture of a natural size stands when drawn into a box: as large as fits, keeping
// its proportions, placed by alignment. Shared by the window and the build's tool that
// draws the pictures ahead.
#pragma once

#include <QRectF>

inline QRectF PlacedPicture(const QSizeF& natural, const QRectF& box, Qt::Alignment alignment) {
    const QSizeF size = natural.scaled(box.size(), Qt::KeepAspectRatio);
    qreal x = box.left() + (box.width() - size.width()) / 2;
    qreal y = box.top() + (box.height() - size.height()) / 2;
    if (alignment & Qt::AlignLeft)
        x = box.left();
    else if (alignment & Qt::AlignRight)
        x = box.right() - size.width();
    if (alignment & Qt::AlignTop)
        y = box.top();
    else if (alignment & Qt::AlignBottom)
        y = box.bottom() - size.height();
    return QRectF(QPointF(x, y), size);
}
