// A drop-down list whose rows carry a value string beside the shown text; not editable,
// drawn flat with a thin frame that brightens under the mouse.
#pragma once

#include <QColor>
#include <QComboBox>

class ValueComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ValueComboBox(QWidget* parent = nullptr);

    void appendRow(const QString& text, const QString& value = {});
    void insertRow(int index, const QString& text, const QString& value = {});
    // Removing the chosen row leaves no row chosen (Qt would choose a neighbour).
    void removeRow(int index);

    // The value string of a row; empty for a row without one or out of range.
    QString value(int index) const;
    // The value string of the chosen row; empty when no row is chosen.
    QString currentValue() const { return value(currentIndex()); }

    QColor frameColor() const { return m_frameColor; }
    void setFrameColor(const QColor& color);

    // Height of a row in the open list, px; 0 leaves it to the font.
    int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int px);

    // Opens the list below the field, as a drop-down list does on every platform.
    void showPopup() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The open list's rows and colours, set when it first opens.
    void PrepareList();

    QColor m_frameColor;
    int m_rowHeight = 0;
    bool m_listPrepared = false;
};
