#include "GroupBar.h"

#include "Colors.h"
#include "FocusFrame.h"
#include "Fonts.h"
#include "GroupBarGroup.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>

namespace {
// clang-format off
constexpr int CaptionIndent = 22; // room for the item's chevron, px
constexpr int CaptionRight  = 8;
constexpr int ItemPadding   = 5;  // above and below a wrapped caption
constexpr int CardRadius    = 5;
constexpr int CaptionFlags  = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
// clang-format on
} // namespace

GroupBar::GroupBar(QWidget* parent)
    : QWidget(parent) {
    setFont(UiFont(UiFace::MsSansSerif, 11));
    setMouseTracking(true);
    // Reached by Tab; a click chooses without taking the focus from the field being edited.
    setFocusPolicy(Qt::TabFocus);
}

GroupBarGroup* GroupBar::addGroup(const QString& caption) {
    auto* group = new GroupBarGroup(caption, this);
    connect(group, &GroupBarGroup::changed, this, qOverload<>(&QWidget::update));
    const int index = int(m_groups.size());
    connect(group, &GroupBarGroup::itemClicked, this, [this, index](int item) {
        m_current = {index, item};
        update();
        emit itemClicked(index, item);
    });
    m_groups.append(group);
    update();
    return group;
}

GroupBarGroup* GroupBar::group(int index) const {
    return index >= 0 && index < groupCount() ? m_groups.at(index) : nullptr;
}

void GroupBar::setGroupBorder(int px) {
    m_border = qMax(0, px);
    update();
}

int GroupBar::headerHeight() const {
    return qMax(24, QFontMetrics(UiFont(UiFace::MsSansSerif, 11, true)).height() + 10);
}

QFont GroupBar::itemFont(const GroupBarGroup* group) const {
    QFont f = font();
    f.setBold(group->boldItems());
    return f;
}

QRect GroupBar::captionRect(const QRect& item) const {
    return item.adjusted(CaptionIndent, 0, -CaptionRight, 0);
}

int GroupBar::fittedItemHeight(const GroupBarGroup* group, int index) const {
    if (group->itemHeight() > 0) return group->itemHeight();
    const int width = groupRect(0).width() - CaptionIndent - CaptionRight;
    const QRect text = QFontMetrics(itemFont(group))
                           .boundingRect(QRect(0, 0, qMax(1, width), 10000), CaptionFlags,
                                         group->itemCaption(index));
    return text.height() + 2 * ItemPadding;
}

QRect GroupBar::groupRect(int index) const {
    int y = m_border;
    const int width = qMax(0, this->width() - 2 * m_border);
    for (int g = 0; g < groupCount(); ++g) {
        const GroupBarGroup* group = m_groups.at(g);
        int height = group->openHeight();
        if (height == 0) {
            height = headerHeight() + 1 + 2 * ItemPadding;
            for (int i = 0; i < group->count(); ++i)
                height += fittedItemHeight(group, i);
        }
        if (g == index) return QRect(m_border, y, width, height);
        y += height + m_border;
    }
    return {};
}

QSize GroupBar::minimumSizeHint() const {
    return {0,
            groupCount() == 0 ? 2 * m_border : groupRect(groupCount() - 1).bottom() + 1 + m_border};
}

QRect GroupBar::itemRect(int groupIndex, int index) const {
    const GroupBarGroup* group = this->group(groupIndex);
    if (!group || index < 0 || index >= group->count()) return {};
    const QRect card = groupRect(groupIndex);
    int y = card.top() + headerHeight() + 1 + (group->openHeight() == 0 ? ItemPadding : 0);
    for (int i = 0; i < index; ++i)
        y += fittedItemHeight(group, i);
    return QRect(card.left(), y, card.width(), fittedItemHeight(group, index));
}

GroupBar::Hit GroupBar::itemAt(const QPoint& pos) const {
    for (int g = 0; g < groupCount(); ++g) {
        if (!groupRect(g).contains(pos)) continue;
        for (int i = 0; i < m_groups.at(g)->count(); ++i)
            if (itemRect(g, i).intersected(groupRect(g)).contains(pos)) return {g, i};
    }
    return {};
}

void GroupBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // From the button face down to the button shadow, as the classic task list did.
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, palette().color(QPalette::Button));
    background.setColorAt(1, palette().color(QPalette::Dark));
    p.fillRect(rect(), background);

    p.setRenderHint(QPainter::Antialiasing);
    for (int g = 0; g < groupCount(); ++g)
        paintGroup(p, g);
}

void GroupBar::paintGroup(QPainter& p, int index) const {
    const GroupBarGroup* group = m_groups.at(index);
    const QRectF card = QRectF(groupRect(index)).adjusted(0.5, 0.5, -0.5, -0.5);
    const int header = headerHeight();

    p.save();
    QPainterPath cardPath;
    cardPath.addRoundedRect(card, CardRadius, CardRadius);
    p.setPen(QPen(QColor(0, 0, 0, 45), 1));
    p.setBrush(palette().color(QPalette::Base));
    p.drawPath(cardPath);
    p.setClipPath(cardPath);

    // Header: a faint gradient strip, an accent tab and the caption.
    const QRectF headerRect(card.left(), card.top(), card.width(), header);
    QLinearGradient headerFill(headerRect.topLeft(), headerRect.bottomLeft());
    headerFill.setColorAt(0, QColor(255, 255, 255));
    headerFill.setColorAt(1, QColor(240, 241, 244));
    p.fillRect(headerRect, headerFill);
    p.fillRect(QRectF(card.left() + 8, card.top() + header / 2.0 - 6, 3, 12),
               QColor(Colors::Accent));
    p.setPen(QColor(32, 34, 38));
    p.setFont(UiFont(UiFace::MsSansSerif, 11, true));
    p.drawText(headerRect.adjusted(17, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter,
               group->caption());

    if (group->dividerVisible()) {
        const QRectF line(card.left(), card.top() + header, card.width(), 1);
        QLinearGradient fade(line.topLeft(), line.topRight());
        fade.setColorAt(0, QColor(Colors::Accent));
        fade.setColorAt(1, QColor(218, 37, 28, 40));
        p.fillRect(line, fade);
    }

    const QColor defaultColor = palette().color(QPalette::WindowText);
    for (int i = 0; i < group->count(); ++i) {
        const QRect item = itemRect(index, i);
        const bool hot = m_hovered == Hit{index, i};
        if (hot) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(Colors::HoverTint));
            p.drawRoundedRect(QRectF(item).adjusted(3, 1, -3, -1), 3, 3);
        }
        const QColor color = group->itemColor(i).isValid() ? group->itemColor(i) : defaultColor;
        const QRect text = captionRect(item);
        p.setFont(itemFont(group));

        // A small chevron before the first line of the caption.
        const QFontMetrics metrics(itemFont(group));
        const QRect used = metrics.boundingRect(text, CaptionFlags, group->itemCaption(i));
        const qreal lineCentre = used.top() + metrics.height() / 2.0;
        QPainterPath chevron;
        chevron.moveTo(item.left() + 10, lineCentre - 3.5);
        chevron.lineTo(item.left() + 13.5, lineCentre);
        chevron.lineTo(item.left() + 10, lineCentre + 3.5);
        // Only an item drawn in a colour of its own, like the chosen kind, is marked.
        const bool marked = group->itemColor(i).isValid() && group->itemColor(i) != defaultColor;
        p.setPen(QPen(hot || marked ? QColor(Colors::Accent) : QColor(150, 154, 160), 1.6,
                      Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(chevron);

        p.setPen(color);
        p.drawText(text, CaptionFlags, group->itemCaption(i));

        if (hasFocus() && m_current == Hit{index, i})
            PaintFocusFrame(p, QRectF(item).adjusted(2, 0, -2, 0), 3);
    }
    p.restore();
}

void GroupBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_pressed = itemAt(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void GroupBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const Hit released = itemAt(event->position().toPoint());
    const Hit pressed = m_pressed;
    m_pressed = {};
    if (released.group >= 0 && released == pressed)
        m_groups.at(released.group)->click(released.item);
}

void GroupBar::moveCurrent(int step) {
    QVector<Hit> all;
    for (int g = 0; g < groupCount(); ++g)
        for (int i = 0; i < m_groups.at(g)->count(); ++i)
            all.append({g, i});
    if (all.isEmpty()) return;
    const int at = qMax(0, int(all.indexOf(m_current)));
    m_current = all.at(qBound(0, at + step, int(all.size()) - 1));
    update();
    // In a scroll area the item the keys reach comes into view.
    if (auto* area =
            parentWidget() ? qobject_cast<QScrollArea*>(parentWidget()->parentWidget()) : nullptr) {
        const QRect item = itemRect(m_current.group, m_current.item);
        area->ensureVisible(item.center().x(), item.center().y(), 0, item.height() / 2 + m_border);
    }
}

void GroupBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        moveCurrent(-1);
        break;
    case Qt::Key_Down:
        moveCurrent(1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (GroupBarGroup* g = group(m_current.group); g && m_current.item < g->count())
            g->click(m_current.item);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void GroupBar::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void GroupBar::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void GroupBar::mouseMoveEvent(QMouseEvent* event) {
    const Hit hit = itemAt(event->position().toPoint());
    if (!(hit == m_hovered)) {
        m_hovered = hit;
        setCursor(hit.group >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void GroupBar::leaveEvent(QEvent* event) {
    m_hovered = {};
    update();
    QWidget::leaveEvent(event);
}

void GroupBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) update();
    QWidget::changeEvent(event);
}
