// A number field: whole numbers or decimals, a range applied when the field is left, and a
// display pattern applied whenever the program sets the value or the field is entered or left.
#pragma once

#include <QColor>
#include <QLineEdit>

class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Mode { Integer, Decimal };

    explicit NumericEdit(QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);

    // The settled value: the one set by the program or left by the user. Typed text
    // becomes the value when the field is left.
    double value() const { return m_value; }
    void setValue(double value);

    // Applies only when the user leaves the field, never to values the program sets.
    void setRange(double minimum, double maximum);
    void clearRange();
    bool hasRange() const { return m_hasRange; }
    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }

    // See FormatPattern for the syntax; the separators are those of the widget's locale.
    QString displayFormat() const { return m_pattern; }
    void setDisplayFormat(const QString& pattern);

    QColor frameColor() const { return m_frameColor; }
    void setFrameColor(const QColor& color);
    bool frameVisible() const { return m_frameVisible; }
    void setFrameVisible(bool visible);

signals:
    // The focus has come into the field; its text already shows the pattern.
    void entered();
    // The user left a value outside the range; value() still holds it, and the nearest
    // limit replaces it as soon as the connected slots return.
    void rangeError(double value);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void leave();
    double typedValue() const;
    QString formatted(double value) const;
    void updateValidator();

    Mode m_mode = Mode::Integer;
    double m_value = 0;
    bool m_hasRange = false;
    double m_minimum = 0;
    double m_maximum = 0;
    QString m_pattern;
    QColor m_frameColor;
    bool m_frameVisible = true;
    bool m_inside = false; // entered and not yet left; survives the window losing activation
};
