// Runs every test class of the widgets library in one process.
#include <QApplication>
#include <QTest>

#include <memory>
#include <vector>

std::unique_ptr<QObject> MakeNumberFormatTest();
std::unique_ptr<QObject> MakeNumericEditTest();
std::unique_ptr<QObject> MakeRadioGroupTest();
std::unique_ptr<QObject> MakeValueComboBoxTest();
std::unique_ptr<QObject> MakeGroupBarTest();
std::unique_ptr<QObject> MakePictureButtonTest();
std::unique_ptr<QObject> MakePicturesTest();

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    for (auto make :
         {MakeNumberFormatTest, MakeNumericEditTest, MakeRadioGroupTest, MakeValueComboBoxTest,
          MakeGroupBarTest, MakePictureButtonTest, MakePicturesTest}) {
        const std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
