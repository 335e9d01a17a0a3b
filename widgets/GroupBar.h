// The navigation pane: groups of clickable items in the style of a task list, on a
// gradient background. From the keyboard it is one stop of the tab chain: Up and Down move
// between the items of all groups, Enter or Space chooses the one marked by the focus frame.
#pragma once

#include <QVector>
#include <QWidget>

class GroupBarGroup;

class GroupBar : public QWidget {
    Q_OBJECT
public:
    explicit GroupBar(QWidget* parent = nullptr);

    // The bar owns the group; its look is set on the group.
    GroupBarGroup* addGroup(const QString& caption);
    int groupCount() const { return int(m_groups.size()); }
    GroupBarGroup* group(int index) const;

    // Space around and between the groups, px.
    int groupBorder() const { return m_border; }
    void setGroupBorder(int px);

    QRect groupRect(int group) const;
    // As tall as its groups; in a scroll area, a shorter room scrolls them.
    QSize minimumSizeHint() const override;
    QRect itemRect(int group, int index) const;

    // The item that the keyboard works on: the one last clicked, or moved to by the keys.
    int currentGroup() const { return m_current.group; }
    int currentItem() const { return m_current.item; }

signals:
    // Emitted after the group's own itemClicked.
    void itemClicked(int group, int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Hit {
        int group = -1;
        int item = -1;
        bool operator==(const Hit&) const = default;
    };
    Hit itemAt(const QPoint& pos) const;
    int headerHeight() const;
    int fittedItemHeight(const GroupBarGroup* group, int index) const;
    QRect captionRect(const QRect& item) const;
    QFont itemFont(const GroupBarGroup* group) const;
    void paintGroup(QPainter& p, int index) const;

    QVector<GroupBarGroup*> m_groups;
    int m_border = 4;
    void moveCurrent(int step);

    Hit m_hovered;
    Hit m_pressed;
    Hit m_current{0, 0};
};
