#include "RadioGroup.h"

#include "Colors.h"
#include "FocusFrame.h"
#include "Fonts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
// clang-format off
constexpr int MarkSize   = 13; // diameter of the round option mark, px
constexpr int MarkIndent = 4;  // from the cell's left edge to the mark
constexpr int TextGap    = 6;  // from the mark to the caption
// clang-format on
} // namespace

RadioGroup::RadioGroup(QWidget* parent)
    : QWidget(parent)
    , m_frameColor(Colors::Frame)
    , m_highlightColor(Colors::Highlight) {
    setFont(UiFont(UiFace::Arial, 11));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void RadioGroup::setItems(const QStringList& items) {
    m_items = items;
    m_index = -1;
    m_hovered = m_pressed = -1;
    updateGeometry();
    update();
}

void RadioGroup::setColumns(int columns) {
    m_columns = qMax(1, columns);
    update();
}

void RadioGroup::setCurrentIndex(int index) {
    if (index < -1 || index >= count()) index = -1;
    if (index == m_index) return;
    const int old = m_index;
    emit changing(old, index);
    m_index = index;
    update();
    emit changed(index);
}

void RadioGroup::setFrameColor(const QColor& color) {
    m_frameColor = color;
    update();
}

void RadioGroup::setHighlightColor(const QColor& color) {
    m_highlightColor = color;
    update();
}

QRect RadioGroup::optionRect(int index) const {
    if (index < 0 || index >= count()) return {};
    const int rows = (count() + m_columns - 1) / m_columns;
    const int row = index % rows; // fill down each column first
    const int column = index / rows;
    const int x0 = width() * column / m_columns;
    const int x1 = width() * (column + 1) / m_columns;
    const int y0 = height() * row / rows;
    const int y1 = height() * (row + 1) / rows;
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

QSize RadioGroup::sizeHint() const {
    const QFontMetrics fm(font());
    int widest = 0;
    for (const QString& item : m_items)
        widest = qMax(widest, fm.horizontalAdvance(item));
    const int rows = qMax(1, (count() + m_columns - 1) / m_columns);
    return {m_columns * (MarkIndent + MarkSize + TextGap + widest + 6), rows * 21};
}

int RadioGroup::optionAt(const QPoint& pos) const {
    for (int i = 0; i < count(); ++i)
        if (optionRect(i).contains(pos)) return i;
    return -1;
}

void RadioGroup::setHovered(int index) {
    if (index != m_hovered) {
        m_hovered = index;
        update();
    }
}

void RadioGroup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    const QColor frame = enabled ? m_frameColor : palette().color(QPalette::Mid);
    const QColor dot = enabled ? m_highlightColor : palette().color(QPalette::Mid);
    const QColor text =
        palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);

    for (int i = 0; i < count(); ++i) {
        const QRect cell = optionRect(i);
        const QRectF mark(cell.left() + MarkIndent + 0.5, cell.center().y() - MarkSize / 2.0 + 1.0,
                          MarkSize - 1, MarkSize - 1);
        const bool hot = enabled && (i == m_hovered || i == m_pressed);

        p.setPen(QPen(hot ? m_highlightColor : frame, hot ? 1.6 : 1.0));
        p.setBrush(hot ? QColor(Colors::HoverTint) : palette().color(QPalette::Base));
        p.drawEllipse(mark);
        if (i == m_index) {
            p.setPen(Qt::NoPen);
            p.setBrush(dot);
            p.drawEllipse(mark.center(), 3.5, 3.5);
        }

        const QRect textRect(int(mark.right()) + TextGap, cell.top(),
                             cell.right() - int(mark.right()) - TextGap, cell.height());
        p.setPen(text);
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_items.at(i));

        if (hasFocus() && m_keyboardFocus && i == qMax(0, m_index)) {
            const QRect used = fontMetrics().boundingRect(
                textRect, Qt::AlignLeft | Qt::AlignVCenter, m_items.at(i));
            PaintFocusFrame(p, QRectF(used).adjusted(-4, -2, 3, 2));
        }
    }
}

void RadioGroup::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    m_pressed = optionAt(event->position().toPoint());
    m_keyboardFocus = false;
    update();
}

void RadioGroup::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const int released = optionAt(event->position().toPoint());
    const int pressed = m_pressed;
    m_pressed = -1;
    update();
    if (released >= 0 && released == pressed) setCurrentIndex(released);
}

void RadioGroup::mouseMoveEvent(QMouseEvent* event) {
    setHovered(optionAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void RadioGroup::leaveEvent(QEvent* event) {
    setHovered(-1);
    QWidget::leaveEvent(event);
}

void RadioGroup::keyPressEvent(QKeyEvent* event) {
    if (count() == 0) return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        setCurrentIndex(m_index <= 0 ? 0 : m_index - 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        setCurrentIndex(m_index < 0 ? 0 : qMin(m_index + 1, count() - 1));
        break;
    case Qt::Key_Space:
        if (m_index < 0) setCurrentIndex(0);
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
    m_keyboardFocus = true;
    update();
}

void RadioGroup::focusInEvent(QFocusEvent* event) {
    m_keyboardFocus = event->reason() == Qt::TabFocusReason ||
                      event->reason() == Qt::BacktabFocusReason ||
                      event->reason() == Qt::ShortcutFocusReason;
    update();
    QWidget::focusInEvent(event);
}

void RadioGroup::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}
