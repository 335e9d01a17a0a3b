#include "NumericEdit.h"

#include "Colors.h"
#include "FocusFrame.h"
#include "Fonts.h"
#include "NumberField.h"
#include "NumberFormat.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QValidator>
#include <cmath>

namespace {

// Every edit, typed, pasted or dropped, passes here: typable text stands as it is, a
// pasted number is rewritten as the field writes it, anything else is refused visibly.
class TypingValidator : public QValidator {
public:
    explicit TypingValidator(NumericEdit* edit)
        : QValidator(edit)
        , m_edit(edit) {}
    State validate(QString& input, int& pos) const override {
        if (m_edit->showingOwnText()) return Acceptable; // the program's own text, e.g. "(1,5)"
        const std::string decimal = m_edit->decimalSeparator().toStdString();
        const std::string group = m_edit->groupSeparator().toStdString();
        if (workflow::IsTypable(input.toStdString(), decimal, group)) return Acceptable;
        if (const auto pasted = workflow::PastedNumber(input.toStdString(), decimal);
            pasted && workflow::IsTypable(*pasted, decimal, group)) {
            input = QString::fromStdString(*pasted);
            pos = int(input.size());
            return Acceptable;
        }
        m_edit->refuse();
        return Invalid;
    }

private:
    NumericEdit* m_edit;
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
    showText(formatted(m_value));
}

void NumericEdit::setMode(Mode mode) {
    m_mode = mode;
    showText(formatted(m_value));
}

void NumericEdit::setValue(double value) {
    const double old = m_value;
    m_value = std::isfinite(value) ? value : 0.0;
    showText(formatted(m_value));
    if (m_value != old) emit valueChanged();
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
    showText(formatted(m_value));
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

QString NumericEdit::decimalSeparator() const {
    return locale().decimalPoint();
}

QString NumericEdit::groupSeparator() const {
    return QString::fromStdString(
        std::string(workflow::FieldGroupSeparator(locale().groupSeparator().toStdString())));
}

QString NumericEdit::formatted(double value) const {
    if (!m_pattern.isEmpty())
        return FormatPattern(value, m_pattern, decimalSeparator(), groupSeparator());
    return FormatPattern(value, m_mode == Mode::Integer ? u"0" : u"0.##########",
                         decimalSeparator(), groupSeparator());
}

void NumericEdit::showText(const QString& text) {
    m_showing = true;
    setText(text);
    m_showing = false;
}

workflow::FieldRule NumericEdit::rule() const {
    workflow::FieldRule rule{m_mode == Mode::Integer ? workflow::FieldKind::Integer
                                                     : workflow::FieldKind::Real,
                             std::nullopt};
    if (m_hasRange) rule.limits = workflow::Limits{m_minimum, m_maximum};
    return rule;
}

workflow::LeftField NumericEdit::leaving() const {
    return workflow::LeaveField(rule(), text().toStdString(), m_value,
                                decimalSeparator().toStdString(), groupSeparator().toStdString(),
                                formatted(m_value).toStdString());
}

double NumericEdit::pendingValue() const {
    return leaving().typed;
}

void NumericEdit::leave() {
    m_inside = false;
    const double old = m_value;
    const workflow::LeftField left = leaving();
    m_value = left.typed;
    if (left.outsideLimits) emit rangeError(m_value);
    m_value = left.value;
    showText(formatted(m_value));
    // A fraction rounded away is said beside the field for a moment, as a refusal is.
    if (const std::optional<std::string> note =
            workflow::RoundingNote(rule(), left, text().toStdString())) {
        const QString shown = QString::fromStdString(*note);
        emit rounded(shown);
        showNote(shown);
    }
    if (m_value != old) emit valueChanged();
}

// Under the field, over whatever stands there, for a few seconds. Not a tooltip: the focus
// that has just left the field would close one at once.
void NumericEdit::showNote(const QString& note) {
    if (!isVisible()) return;
    QWidget* top = window();
    auto* label = new QLabel(note, top);
    label->setObjectName(QStringLiteral("RoundingNote"));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::ToolTipBase);
    label->setForegroundRole(QPalette::ToolTipText);
    label->setFrameShape(QFrame::Box);
    label->setMargin(2);
    label->adjustSize();
    label->move(mapTo(top, QPoint(0, height())));
    label->show();
    label->raise();
    QTimer::singleShot(NoteMs, label, &QObject::deleteLater);
}

void NumericEdit::refuse() {
    const QString why = m_typingKey ? QStringLiteral("Здесь вводится число: цифры, минус перед "
                                                     "ними и десятичная запятая")
                                    : QStringLiteral("Вставленный текст — не число");
    emit inputRefused(why);
    // A short flash where the eye is, and the reason beside the field.
    if (!m_flashing) {
        m_flashing = true;
        const QPalette normal = palette();
        QPalette flash = normal;
        flash.setColor(QPalette::Base, Colors::RefusedFlash);
        setPalette(flash);
        QTimer::singleShot(RefusedFlashMs, this, [this, normal] {
            setPalette(normal);
            m_flashing = false;
        });
    }
    if (isVisible()) QToolTip::showText(mapToGlobal(QPoint(0, height())), why, this, rect(), 3000);
}

void NumericEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (m_inside) return;
    m_inside = true;
    showText(formatted(m_value));
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        selectAll();
    emit entered();
}

void NumericEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (m_inside && LeavesField(event->reason())) leave();
}

void NumericEdit::keyPressEvent(QKeyEvent* event) {
    // A point or comma typed is meant as the decimal separator, whatever the keyboard
    // layout, the number pad or the locale's grouping; an integer field rounds the fraction
    // on leaving.
    const QString typed = event->text();
    m_typingKey = !event->matches(QKeySequence::Paste);
    if (!isReadOnly() && (typed == u"." || typed == u",") && typed != decimalSeparator()) {
        insert(decimalSeparator());
    } else {
        QLineEdit::keyPressEvent(event);
    }
    m_typingKey = false;
}

void NumericEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::LocaleChange && !m_inside) showText(formatted(m_value));
}

void NumericEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (!m_frameVisible) return;
    QPainter p(this);
    if (hasFocus() && !isReadOnly()) return PaintFocusFrame(p, rect());
    const bool hot = isEnabled() && underMouse();
    QColor color = isEnabled() ? m_frameColor : palette().color(QPalette::Mid);
    if (hot) color = color.darker(125);
    const int width = hot ? 2 : 1;
    p.setPen(QPen(color, width));
    p.setBrush(Qt::NoBrush);
    const qreal inset = width / 2.0;
    p.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}
