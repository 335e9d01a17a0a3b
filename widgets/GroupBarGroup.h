// One group of a GroupBar: a caption over a list of clickable items, each with its own
// caption colour.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QVector>

class GroupBarGroup : public QObject {
    Q_OBJECT
public:
    explicit GroupBarGroup(const QString& caption, QObject* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    // The height of the whole group, header included; 0 fits the items.
    int openHeight() const { return m_openHeight; }
    void setOpenHeight(int px);

    // 0 fits each item to its wrapped caption.
    int itemHeight() const { return m_itemHeight; }
    void setItemHeight(int px);

    bool boldItems() const { return m_boldItems; }
    void setBoldItems(bool bold);

    bool dividerVisible() const { return m_divider; }
    void setDividerVisible(bool visible);

    int addItem(const QString& caption);
    int count() const { return int(m_items.size()); }
    QString itemCaption(int index) const;
    void setItemCaption(int index, const QString& caption);

    // An invalid colour draws the caption in the window-text colour.
    QColor itemColor(int index) const;
    void setItemColor(int index, const QColor& color);

    // Acts as a click on the item: emits itemClicked, and the bar's itemClicked after it.
    void click(int index);

signals:
    void itemClicked(int index);
    void changed(); // anything that alters the look; the bar lays out and repaints

private:
    struct Item {
        QString caption;
        QColor color;
    };
    QString m_caption;
    int m_openHeight = 0;
    int m_itemHeight = 0;
    bool m_boldItems = false;
    bool m_divider = true;
    QVector<Item> m_items;
};
