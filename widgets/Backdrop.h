// A filled rectangle behind an input, in the accent colour unless told otherwise.
#pragma once

#include <QColor>
#include <QWidget>

class Backdrop : public QWidget {
    Q_OBJECT
public:
    explicit Backdrop(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    // Corner radius in px; 0 draws a plain rectangle.
    int radius() const { return m_radius; }
    void setRadius(int px);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
    int m_radius = 3;
};
