#include "PictureButton.h"
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

std::unique_ptr<QObject> MakePictureButtonTest() {
    return std::make_unique<PictureButtonTest>();
}

#include "PictureButtonTest.moc"
