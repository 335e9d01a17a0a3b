#include "ValueComboBox.h"

#include "Colors.h"
#include "FocusFrame.h"
#include "Fonts.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

namespace {

constexpr int ValueRole = Qt::UserRole;

// Rows of the open list: the accent under the mouse, a little air at the left.
class RowDelegate : public QStyledItemDelegate {
public:
    RowDelegate(const ValueComboBox* combo, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_combo(combo) {}
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
        const QFontMetrics fm(m_combo->font());
        const int height = m_combo->rowHeight() > 0 ? m_combo->rowHeight() : fm.height() + 6;
        return {fm.horizontalAdvance(index.data().toString()) + 2 * RowPadding, height};
    }
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        if (selected) p->fillRect(option.rect, QColor(Colors::Accent));
        p->setFont(m_combo->font());
        p->setPen(selected ? QColor(Qt::white) : option.palette.color(QPalette::Text));
        const QRect text = option.rect.adjusted(RowPadding, 0, -RowPadding, 0);
        p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    QFontMetrics(m_combo->font())
                        .elidedText(index.data().toString(), Qt::ElideRight, text.width()));
    }

private:
    static constexpr int RowPadding = 5;
    const ValueComboBox* m_combo;
};

} // namespace

ValueComboBox::ValueComboBox(QWidget* parent)
    : QComboBox(parent)
    , m_frameColor(Colors::Frame) {
    setFont(UiFont(UiFace::MsSansSerif, 13));
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void ValueComboBox::PrepareList() {
    // Asking for the view makes the open list with its frame, view and scrollers; a window
    // with a dozen lists made them all at start-up, before any was opened.
    if (m_listPrepared) return;
    m_listPrepared = true;
    setItemDelegate(new RowDelegate(this, this));
    QPalette pal = view()->palette();
    pal.setColor(QPalette::Highlight, QColor(Colors::Accent));
    pal.setColor(QPalette::HighlightedText, Qt::white);
    view()->setPalette(pal);
}

void ValueComboBox::appendRow(const QString& text, const QString& value) {
    addItem(text, value);
}

void ValueComboBox::insertRow(int index, const QString& text, const QString& value) {
    insertItem(index, text, value);
}

void ValueComboBox::removeRow(int index) {
    const bool chosen = index == currentIndex();
    removeItem(index);
    if (chosen) setCurrentIndex(-1);
}

QString ValueComboBox::value(int index) const {
    if (index < 0 || index >= count()) return {};
    return itemData(index, ValueRole).toString();
}

void ValueComboBox::setFrameColor(const QColor& color) {
    m_frameColor = color;
    update();
}

void ValueComboBox::setRowHeight(int px) {
    m_rowHeight = qMax(0, px);
}

void ValueComboBox::changeEvent(QEvent* event) {
    // Qt hands a new font on to the open list, and makes the list to do it.
    if (event->type() == QEvent::FontChange && !m_listPrepared) {
        QWidget::changeEvent(event);
        return;
    }
    QComboBox::changeEvent(event);
}

void ValueComboBox::showPopup() {
    PrepareList();
    QComboBox::showPopup();
    // The style may centre the list on the chosen row; a drop-down list opens below.
    QWidget* popup = view()->window();
    if (popup == this || !popup->isVisible()) return;
    QPoint below = mapToGlobal(QPoint(0, height()));
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        if (below.y() + popup->height() > area.bottom())
            below.setY(mapToGlobal(QPoint(0, 0)).y() - popup->height());
        below.setX(qBound(area.left(), below.x(), area.right() - popup->width()));
    }
    popup->move(below);
}

QSize ValueComboBox::sizeHint() const {
    const QFontMetrics fm(font());
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = qMax(widest, fm.horizontalAdvance(itemText(i)));
    return {widest + 10, fm.height() + 8};
}

QSize ValueComboBox::minimumSizeHint() const {
    return {20, QFontMetrics(font()).height() + 4};
}

void ValueComboBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool enabled = isEnabled();
    p.fillRect(rect(), palette().color(QPalette::Base));
    if (hasFocus()) p.fillRect(rect().adjusted(2, 2, -2, -2), QColor(Colors::HoverTint));

    const QRect textRect = rect().adjusted(4, 0, -3, 0);
    p.setPen(palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               fontMetrics().elidedText(currentText(), Qt::ElideRight, textRect.width()));

    if (hasFocus()) return PaintFocusFrame(p, rect());
    const bool hot = enabled && underMouse();
    QColor frame = enabled ? m_frameColor : palette().color(QPalette::Mid);
    if (hot) frame = frame.darker(125);
    const int width = hot ? 2 : 1;
    p.setPen(QPen(frame, width));
    const qreal inset = width / 2.0;
    p.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}
