// A number field: whole numbers or decimals, a range applied when the field is left, and a
// display pattern applied whenever the program sets the value or the field is entered or left.
#pragma once

#include <QColor>
#include <QLineEdit>

namespace workflow {
struct FieldRule;
struct LeftField;
} // namespace workflow

class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int RefusedFlashMs = 400;
    // How long a note beside the field stays.
    static constexpr int NoteMs = 3000;

    enum class Mode { Integer, Decimal };

    explicit NumericEdit(QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);

    // The settled value: the one set by the program or left by the user. Typed text
    // becomes the value when the field is left.
    double value() const { return m_value; }
    void setValue(double value);
    // What the typed text stands for before the field is left: no limits, no rounding.
    double pendingValue() const;

    // Applies only when the user leaves the field, never to values the program sets.
    void setRange(double minimum, double maximum);
    void clearRange();
    bool hasRange() const { return m_hasRange; }
    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }

    // See FormatPattern for the syntax; the separators are those of the widget's locale,
    // except a group separator that could be read as a decimal one (see
    // workflow::FieldGroupSeparator).
    QString displayFormat() const { return m_pattern; }
    void setDisplayFormat(const QString& pattern);
    QString decimalSeparator() const;
    QString groupSeparator() const;

    QColor frameColor() const { return m_frameColor; }
    void setFrameColor(const QColor& color);
    bool frameVisible() const { return m_frameVisible; }
    void setFrameVisible(bool visible);

    // Shows that a typed or pasted text was refused: a short flash and the reason.
    void refuse();
    // The field is showing the program's own text, which the typing rules do not judge.
    bool showingOwnText() const { return m_showing; }

signals:
    // The settled value changed, set by the program or left by the user.
    void valueChanged();
    // An edit was refused; the field keeps its text.
    void inputRefused(const QString& reason);
    // Leaving rounded a fraction typed into an integer field: the note it shows.
    void rounded(const QString& note);
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
    void showNote(const QString& note);
    // Sets the text the program shows, which the typing rules do not judge.
    void showText(const QString& text);
    workflow::FieldRule rule() const;
    // What leaving the field now gives, by the workflow's rule.
    workflow::LeftField leaving() const;
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
    bool m_inside = false;    // entered and not yet left; survives the window losing activation
    bool m_typingKey = false; // a refusal now comes from a typed key, not from a paste
    bool m_flashing = false;
    bool m_showing = false;
};
