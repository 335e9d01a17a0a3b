// A thin horizontal rule under the page header, lit in the accent colour at its left end
// and fading out to the right.
#pragma once

#include <QWidget>

class SeparatorLine : public QWidget {
    Q_OBJECT
public:
    explicit SeparatorLine(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
