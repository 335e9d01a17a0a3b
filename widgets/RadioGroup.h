// A group of options without a caption, in one or more columns; a change of the chosen
// option is announced before it takes effect, whether the user or the program makes it.
#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

class RadioGroup : public QWidget {
    Q_OBJECT
public:
    explicit RadioGroup(QWidget* parent = nullptr);

    QStringList items() const { return m_items; }
    void setItems(const QStringList& items); // chooses none; set the index afterwards
    int count() const { return int(m_items.size()); }

    int columns() const { return m_columns; }
    void setColumns(int columns);

    // -1 when no option is chosen.
    int currentIndex() const { return m_index; }
    void setCurrentIndex(int index);

    QColor frameColor() const { return m_frameColor; }
    void setFrameColor(const QColor& color);
    QColor highlightColor() const { return m_highlightColor; }
    void setHighlightColor(const QColor& color);

    // Where option `index` is drawn and answers the mouse.
    QRect optionRect(int index) const;

    QSize sizeHint() const override;

signals:
    // Emitted before the change: currentIndex() still returns oldIndex.
    void changing(int oldIndex, int newIndex);
    void changed(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int optionAt(const QPoint& pos) const;
    void setHovered(int index);

    QStringList m_items;
    int m_columns = 1;
    int m_index = -1;
    int m_hovered = -1;
    int m_pressed = -1;
    bool m_keyboardFocus = false;
    QColor m_frameColor;
    QColor m_highlightColor;
};
