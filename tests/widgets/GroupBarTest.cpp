#include "GroupBar.h"
#include "Colors.h"
#include "GroupBarGroup.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {
// Pixels of a caption drawn in the accent colour, to the right of the item's chevron.
int AccentPixels(const QImage& image, const QRect& item) {
    int count = 0;
    for (int y = item.top(); y <= item.bottom(); ++y)
        for (int x = item.left() + 20; x <= item.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > 150 && c.green() < 110 && c.blue() < 110 ? 1 : 0;
        }
    return count;
}

// Pixels of the item's chevron, left of its caption, in the accent colour.
int AccentChevronPixels(const QImage& image, const QRect& item) {
    return AccentPixels(image, item.adjusted(-12, 0, 16 - item.width(), 0));
}

int FocusPixels(const QImage& image, const QRect& item) {
    int count = 0;
    for (int y = item.top(); y <= item.bottom(); ++y)
        for (int x = item.left(); x <= item.right(); ++x)
            count += image.pixelColor(x, y) == QColor(Colors::Focus) ? 1 : 0;
    return count;
}
} // namespace

class GroupBarTest : public QObject {
    Q_OBJECT
private slots:
    void clicksReportGroupAndItem();
    void captionColourIsPerItem();
    void keyboardMovesAcrossGroupsAndChooses();

private:
    void fill(GroupBar& bar);
};

void GroupBarTest::fill(GroupBar& bar) {
    bar.resize(241, 497);
    GroupBarGroup* kinds = bar.addGroup("Расчет толщины изоляции");
    kinds->setOpenHeight(351);
    kinds->setItemHeight(50);
    kinds->setBoldItems(true);
    for (const char* caption :
         {"По нормам плотности теплового потока", "По заданной температуре на поверхности изоляции",
          "С целью предотвращения конденсации влаги на поверхности изоляции"})
        kinds->addItem(caption);
    GroupBarGroup* help = bar.addGroup("Справочные материалы");
    help->setOpenHeight(47);
    help->addItem("Справочные материалы");
}

void GroupBarTest::clicksReportGroupAndItem() {
    GroupBar bar;
    fill(bar);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy barClicks(&bar, &GroupBar::itemClicked);
    QSignalSpy helpClicks(bar.group(1), &GroupBarGroup::itemClicked);

    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.itemRect(0, 2).center());
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.itemRect(1, 0).center());
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.groupRect(0).topLeft() + QPoint(30, 8));

    QCOMPARE(barClicks.count(), 2);
    QCOMPARE(barClicks.at(0), (QVariantList{0, 2}));
    QCOMPARE(barClicks.at(1), (QVariantList{1, 0}));
    QCOMPARE(helpClicks.count(), 1);
    // Items are 50 px high and sit inside their group.
    QCOMPARE(bar.itemRect(0, 1).height(), 50);
    QVERIFY(bar.groupRect(0).contains(bar.itemRect(0, 2)));
}

void GroupBarTest::captionColourIsPerItem() {
    GroupBar bar;
    fill(bar);
    GroupBarGroup* kinds = bar.group(0);
    kinds->setItemColor(1, QColor(Colors::Accent));
    kinds->setItemColor(2, QColor(Colors::Text)); // as plain as no colour at all
    QCOMPARE(kinds->itemColor(1), QColor(Colors::Accent));
    QVERIFY(!kinds->itemColor(0).isValid());

    const QImage image = bar.grab().toImage();
    QVERIFY(AccentPixels(image, bar.itemRect(0, 1)) > 50);
    QCOMPARE(AccentPixels(image, bar.itemRect(0, 0)), 0);
    QCOMPARE(AccentPixels(image, bar.itemRect(0, 2)), 0);
    // The chevron marks the item in a colour of its own only.
    QVERIFY(AccentChevronPixels(image, bar.itemRect(0, 1)) > 3);
    QCOMPARE(AccentChevronPixels(image, bar.itemRect(0, 0)), 0);
    QCOMPARE(AccentChevronPixels(image, bar.itemRect(0, 2)), 0);
}

void GroupBarTest::keyboardMovesAcrossGroupsAndChooses() {
    QWidget window;
    auto* bar = new GroupBar(&window);
    fill(*bar);
    window.resize(bar->size());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicks(bar, &GroupBar::itemClicked);
    QCOMPARE(bar->focusPolicy(), Qt::TabFocus);
    bar->setFocus(Qt::TabFocusReason);
    QVERIFY(bar->hasFocus());

    QTest::keyClick(bar, Qt::Key_Down);
    QTest::keyClick(bar, Qt::Key_Down);
    QTest::keyClick(bar, Qt::Key_Return);
    QTest::keyClick(bar, Qt::Key_Down); // on into the next group
    QTest::keyClick(bar, Qt::Key_Down); // and no further than the last item
    QTest::keyClick(bar, Qt::Key_Space);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(0), (QVariantList{0, 2}));
    QCOMPARE(clicks.at(1), (QVariantList{1, 0}));

    // The focused item is framed; a click elsewhere moves the frame with it.
    QVERIFY(FocusPixels(bar->grab().toImage(), bar->itemRect(1, 0)) > 50);
    bar->group(0)->click(1);
    QCOMPARE(bar->currentGroup(), 0);
    QCOMPARE(bar->currentItem(), 1);
    const QImage framed = bar->grab().toImage();
    QVERIFY(FocusPixels(framed, bar->itemRect(0, 1)) > 50);
    QCOMPARE(FocusPixels(framed, bar->itemRect(1, 0)), 0);
}

std::unique_ptr<QObject> MakeGroupBarTest() {
    return std::make_unique<GroupBarTest>();
}

#include "GroupBarTest.moc"
