#include "GroupBarGroup.h"

GroupBarGroup::GroupBarGroup(const QString& caption, QObject* parent)
    : QObject(parent)
    , m_caption(caption) {}

void GroupBarGroup::setCaption(const QString& caption) {
    m_caption = caption;
    emit changed();
}

void GroupBarGroup::setOpenHeight(int px) {
    m_openHeight = qMax(0, px);
    emit changed();
}

void GroupBarGroup::setItemHeight(int px) {
    m_itemHeight = qMax(0, px);
    emit changed();
}

void GroupBarGroup::setBoldItems(bool bold) {
    m_boldItems = bold;
    emit changed();
}

void GroupBarGroup::setDividerVisible(bool visible) {
    m_divider = visible;
    emit changed();
}

int GroupBarGroup::addItem(const QString& caption) {
    m_items.append({caption, QColor()});
    emit changed();
    return count() - 1;
}

QString GroupBarGroup::itemCaption(int index) const {
    return index >= 0 && index < count() ? m_items.at(index).caption : QString();
}

void GroupBarGroup::setItemCaption(int index, const QString& caption) {
    if (index < 0 || index >= count() || m_items[index].caption == caption) return;
    m_items[index].caption = caption;
    emit changed();
}

QColor GroupBarGroup::itemColor(int index) const {
    return index >= 0 && index < count() ? m_items.at(index).color : QColor();
}

void GroupBarGroup::setItemColor(int index, const QColor& color) {
    if (index < 0 || index >= count()) return;
    m_items[index].color = color;
    emit changed();
}

void GroupBarGroup::click(int index) {
    if (index >= 0 && index < count()) emit itemClicked(index);
}
