#include "RadioGroup.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

class RadioGroupTest : public QObject {
    Q_OBJECT
private slots:
    void changingComesBeforeTheChange();
};

void RadioGroupTest::changingComesBeforeTheChange() {
    RadioGroup group;
    group.resize(111, 42);
    group.setItems({"Труба", "Плоскость"});
    group.setCurrentIndex(0);
    group.show();
    QVERIFY(QTest::qWaitForWindowExposed(&group));

    QStringList log; // what was seen, in order
    connect(&group, &RadioGroup::changing, &group, [&](int from, int to) {
        log << QStringLiteral("changing %1->%2 at %3").arg(from).arg(to).arg(group.currentIndex());
    });
    connect(&group, &RadioGroup::changed, &group, [&](int index) {
        log << QStringLiteral("changed %1 at %2").arg(index).arg(group.currentIndex());
    });

    group.setCurrentIndex(1); // by the program
    group.setCurrentIndex(1); // no change, no signals
    QTest::mouseClick(&group, Qt::LeftButton, {}, group.optionRect(0).center()); // by the user
    group.setFocus();
    QTest::keyClick(&group, Qt::Key_Down); // by the keyboard

    QCOMPARE(log, (QStringList{"changing 0->1 at 0", "changed 1 at 1", "changing 1->0 at 1",
                               "changed 0 at 0", "changing 0->1 at 0", "changed 1 at 1"}));
}

std::unique_ptr<QObject> MakeRadioGroupTest() {
    return std::make_unique<RadioGroupTest>();
}

#include "RadioGroupTest.moc"
