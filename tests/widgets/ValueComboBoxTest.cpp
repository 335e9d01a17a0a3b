#include "ValueComboBox.h"

#include "Colors.h"

#include <QAbstractItemView>
#include <QTest>
#include <memory>

namespace {
QStringList Values(const ValueComboBox& combo) {
    QStringList values;
    for (int i = 0; i < combo.count(); ++i)
        values << combo.value(i);
    return values;
}
} // namespace

class ValueComboBoxTest : public QObject {
    Q_OBJECT
private slots:
    void valuesFollowTheirRows();
    void opensBelowFromCode();
};

void ValueComboBoxTest::valuesFollowTheirRows() {
    // The material list going from a pipe to a plane and back.
    ValueComboBox combo;
    for (int i = 0; i < 6; ++i)
        combo.appendRow(QStringLiteral("row %1").arg(i), QString::number(i));
    combo.setCurrentIndex(4);
    QCOMPARE(combo.currentValue(), "4");

    combo.appendRow("Мат ламельный ЗОРБАЛИТ", "6");
    combo.removeRow(4);
    combo.removeRow(4);
    QCOMPARE(Values(combo), (QStringList{"0", "1", "2", "3", "6"}));
    QCOMPARE(combo.itemText(4), "Мат ламельный ЗОРБАЛИТ");

    combo.insertRow(4, "Цилиндр ЗОРБАЛИТ - 80", "4");
    combo.insertRow(5, "Цилиндр ЗОРБАЛИТ - 100", "5");
    combo.setCurrentIndex(6);
    QCOMPARE(Values(combo), (QStringList{"0", "1", "2", "3", "4", "5", "6"}));
    QCOMPARE(combo.currentValue(), "6");

    combo.removeRow(6); // the chosen row goes: nothing is chosen
    QCOMPARE(combo.currentIndex(), -1);
    QCOMPARE(combo.currentValue(), QString());
    QCOMPARE(combo.value(99), QString());
}

void ValueComboBoxTest::opensBelowFromCode() {
    QWidget window;
    auto* combo = new ValueComboBox(&window);
    combo->setGeometry(20, 20, 57, 24);
    for (const char* d : {"18", "25", "32", "45", "57", "76", "89", "108"})
        combo->appendRow(d);
    combo->setCurrentIndex(7);
    window.resize(200, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // A font set before the list was first opened is the open list's too.
    QFont font = combo->font();
    font.setPixelSize(17);
    combo->setFont(font);
    combo->setFocus();
    combo->showPopup();
    QWidget* popup = combo->view()->window();
    QTRY_VERIFY(popup->isVisible());
    QCOMPARE(popup->geometry().top(), combo->mapToGlobal(QPoint(0, combo->height())).y());
    QCOMPARE(popup->font().pixelSize(), 17);
    QCOMPARE(combo->view()->palette().color(QPalette::Highlight), QColor(Colors::Accent));
    QCOMPARE(combo->view()->sizeHintForRow(0), QFontMetrics(font).height() + 6);
    combo->hidePopup();
}

std::unique_ptr<QObject> MakeValueComboBoxTest() {
    return std::make_unique<ValueComboBoxTest>();
}

#include "ValueComboBoxTest.moc"
