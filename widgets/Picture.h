// A picture on the window, scaled proportionally into its rectangle; it can change face
// under the mouse and report clicks.
#pragma once

#include "PictureFile.h"

#include <QWidget>

class Picture : public QWidget {
    Q_OBJECT
public:
    explicit Picture(QWidget* parent = nullptr);
    explicit Picture(const QString& path, QWidget* parent = nullptr);

    QString source() const { return m_picture.path(); }
    void setSource(const QString& path);
    // Shown while the mouse is over the picture; none keeps the normal face.
    void setHoverSource(const QString& path);

    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    PictureFile m_picture;
    PictureFile m_hover;
    Qt::Alignment m_alignment = Qt::AlignCenter;
    bool m_pressed = false;
};
