#include "NumericEdit.h"

#include "Colors.h"
#include "Fonts.h"
#include "NumberFormat.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QValidator>
#include <algorithm>
#include <cmath>

namespace {

class TypingValidator : public QValidator {
public:
    explicit TypingValidator(NumericEdit* edit)
        : QValidator(edit)
        , m_edit(edit) {}
    State validate(QString& input, int&) const override {
        const QLocale l = m_edit->locale();
        return IsTypableNumber(input, m_edit->mode() == NumericEdit::Mode::Decimal,
                               l.decimalPoint(), l.groupSeparator())
                   ? Acceptable
                   : Invalid;
    }

private:
    const NumericEdit* m_edit;
};

// Moving between windows or opening the context menu is not leaving the field.
bool LeavesField(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

NumericEdit::NumericEdit(QWidget* parent)
    : QLineEdit(parent)
    , m_frameColor(Colors::Frame) {
    setFont(UiFont(UiFace::MsSansSerif, 13));
    setFrame(false);
    setTextMargins(3, 0, 3, 0);
    setAttribute(Qt::WA_Hover);
    setValidator(new TypingValidator(this));
    setText(formatted(m_value));
}

void NumericEdit::setMode(Mode mode) {
    m_mode = mode;
    setText(formatted(m_value));
}

void NumericEdit::setValue(double value) {
    m_value = std::isfinite(value) ? value : 0.0;
    setText(formatted(m_value));
}

void NumericEdit::setRange(double minimum, double maximum) {
    m_hasRange = true;
    m_minimum = qMin(minimum, maximum);
    m_maximum = qMax(minimum, maximum);
}

void NumericEdit::clearRange() {
    m_hasRange = false;
}

void NumericEdit::setDisplayFormat(const QString& pattern) {
    m_pattern = pattern;
    setText(formatted(m_value));
}

void NumericEdit::setFrameColor(const QColor& color) {
    m_frameColor = color;
    update();
}

void NumericEdit::setFrameVisible(bool visible) {
    m_frameVisible = visible;
    setTextMargins(visible ? 3 : 1, 0, visible ? 3 : 1, 0);
    update();
}

QString NumericEdit::formatted(double value) const {
    const QLocale l = locale();
    if (!m_pattern.isEmpty())
        return FormatPattern(value, m_pattern, l.decimalPoint(), l.groupSeparator());
    return FormatPattern(value, m_mode == Mode::Integer ? u"0" : u"0.##########", l.decimalPoint(),
                         l.groupSeparator());
}

double NumericEdit::typedValue() const {
    const QString shown = text();
    if (shown == formatted(m_value)) return m_value; // untouched: keep the digits the pattern hides
    if (!std::any_of(shown.begin(), shown.end(), [](QChar c) { return c.isDigit(); }))
        return 0; // empty, or a lone sign
    const QLocale l = locale();
    const std::optional<double> parsed = ParseNumber(shown, l.decimalPoint(), l.groupSeparator());
    if (!parsed) return m_value;
    return m_mode == Mode::Integer ? std::trunc(*parsed) : *parsed;
}

void NumericEdit::leave() {
    m_inside = false;
    m_value = typedValue();
    if (m_hasRange && (m_value < m_minimum || m_value > m_maximum)) {
        emit rangeError(m_value);
        m_value = qBound(m_minimum, m_value, m_maximum);
    }
    setText(formatted(m_value));
}

void NumericEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (m_inside) return;
    m_inside = true;
    setText(formatted(m_value));
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        selectAll();
    emit entered();
}

void NumericEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (m_inside && LeavesField(event->reason())) leave();
}

void NumericEdit::keyPressEvent(QKeyEvent* event) {
    // A point or comma typed in a decimal field is meant as its decimal separator,
    // whatever the keyboard layout or the number pad produce.
    const QLocale l = locale();
    const QString typed = event->text();
    if (m_mode == Mode::Decimal && !isReadOnly() && (typed == u"." || typed == u",") &&
        typed != l.decimalPoint() && typed != l.groupSeparator()) {
        insert(l.decimalPoint());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumericEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::LocaleChange && !m_inside) setText(formatted(m_value));
}

void NumericEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (!m_frameVisible) return;
    QPainter p(this);
    const bool hot = isEnabled() && (underMouse() || hasFocus());
    QColor color = isEnabled() ? m_frameColor : palette().color(QPalette::Mid);
    if (hot) color = color.darker(125);
    const int width = hot ? 2 : 1;
    p.setPen(QPen(color, width));
    p.setBrush(Qt::NoBrush);
    const qreal inset = width / 2.0;
    p.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}
