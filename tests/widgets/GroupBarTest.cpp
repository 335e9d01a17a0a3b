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
} // namespace

class GroupBarTest : public QObject {
    Q_OBJECT
private slots:
    void clicksReportGroupAndItem();
    void captionColourIsPerItem();

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
    QCOMPARE(kinds->itemColor(1), QColor(Colors::Accent));
    QVERIFY(!kinds->itemColor(0).isValid());

    const QImage image = bar.grab().toImage();
    QVERIFY(AccentPixels(image, bar.itemRect(0, 1)) > 50);
    QCOMPARE(AccentPixels(image, bar.itemRect(0, 0)), 0);
    QCOMPARE(AccentPixels(image, bar.itemRect(0, 2)), 0);
}

std::unique_ptr<QObject> MakeGroupBarTest() {
    return std::make_unique<GroupBarTest>();
}

#include "GroupBarTest.moc"
