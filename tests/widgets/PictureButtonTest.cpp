#include "PictureButton.h"
#include "Colors.h"
#include "NumericEdit.h"
#include "Pictures.h"

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

class PictureButtonTest : public QObject {
    Q_OBJECT
private slots:
    void clickLeavesTheFocusToTheHandler();
    void enterAndSpacePressTheFocusedButtonWhichShowsItsFocus();
};

void PictureButtonTest::clickLeavesTheFocusToTheHandler() {
    // The calculate road: the click arrives with the field still focused, the handler moves
    // the focus, the field's range message runs, and the handler reads the limited value.
    QWidget window;
    auto* edit = new NumericEdit(&window);
    auto* button = new PictureButton(&window);
    button->setFaces(Pictures::CalculateUp, Pictures::CalculateHover, Pictures::CalculateDown);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(button);
    edit->setRange(-40, 50);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, "60");

    QStringList log;
    connect(edit, &NumericEdit::rangeError, edit, [&](double v) { log << QString::number(v); });
    connect(button, &PictureButton::clicked, button, [&] {
        log << (edit->hasFocus() ? "click in field" : "click elsewhere");
        button->setFocus();
        log << QString::number(edit->value());
    });
    QTest::mouseClick(button, Qt::LeftButton);

    QCOMPARE(log, (QStringList{"click in field", "60", "50"}));
}

void PictureButtonTest::enterAndSpacePressTheFocusedButtonWhichShowsItsFocus() {
    QWidget window;
    auto* edit = new NumericEdit(&window);
    auto* button = new PictureButton(&window);
    button->setFaces(Pictures::ReportUp, Pictures::ReportHover, Pictures::ReportDown);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(button);
    button->setFixedSize(91, 25);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicks(button, &PictureButton::clicked);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    QVERIFY(button->hasFocus());
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
        QTest::keyClick(button, key);
    QCOMPARE(clicks.count(), 3);

    const QImage face = button->grab().toImage();
    const auto focusBlue = [](QColor c) { return c.blue() > 140 && c.red() < 80; };
    int framePixels = 0;
    for (int x = 0; x < face.width(); ++x)
        framePixels += focusBlue(face.pixelColor(x, face.height() / 2)) ? 1 : 0;
    for (int y = 0; y < face.height(); ++y)
        framePixels += focusBlue(face.pixelColor(face.width() / 2, y)) ? 1 : 0;
    QVERIFY(framePixels >= 4); // both sides, across and down
}

std::unique_ptr<QObject> MakePictureButtonTest() {
    return std::make_unique<PictureButtonTest>();
}

#include "PictureButtonTest.moc"
