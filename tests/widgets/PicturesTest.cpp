#include "Pictures.h"
#include "Fonts.h"
#include "PictureFile.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>
#include <memory>

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void picturesAreCompiledIn_data();
    void picturesAreCompiledIn();
    void applicationIconHasSmallSizes();
    void fontsRenderCyrillic();
};

void PicturesTest::picturesAreCompiledIn_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    // clang-format off
    QTest::newRow("header")    << Pictures::Header         << QSize(241, 40);
    QTest::newRow("marker")    << Pictures::Marker         << QSize(20, 28);
    QTest::newRow("drop-down") << Pictures::DropDown       << QSize(20, 27);
    QTest::newRow("drop-down hover") << Pictures::DropDownHover << QSize(20, 27);
    QTest::newRow("calculate") << Pictures::CalculateUp    << QSize(138, 38);
    QTest::newRow("calculate hover") << Pictures::CalculateHover << QSize(138, 38);
    QTest::newRow("calculate down")  << Pictures::CalculateDown  << QSize(138, 38);
    QTest::newRow("report")    << Pictures::ReportUp       << QSize(91, 25);
    QTest::newRow("report hover") << Pictures::ReportHover << QSize(91, 25);
    QTest::newRow("report down")  << Pictures::ReportDown  << QSize(91, 25);
    QTest::newRow("close")     << Pictures::CloseUp        << QSize(81, 23);
    QTest::newRow("close hover") << Pictures::CloseHover   << QSize(81, 23);
    QTest::newRow("close down")  << Pictures::CloseDown    << QSize(81, 23);
    QTest::newRow("icon")      << Pictures::AppIcon        << QSize(256, 256);
    // clang-format on
}

void PicturesTest::picturesAreCompiledIn() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const PictureFile picture(path);
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.naturalSize().toSize(), size);
}

void PicturesTest::applicationIconHasSmallSizes() {
    const QIcon icon = ApplicationIcon();
    for (int size : {16, 32, 48})
        QCOMPARE(icon.pixmap(size).size(), QSize(size, size));
}

void PicturesTest::fontsRenderCyrillic() {
    for (UiFace face : {UiFace::MsSansSerif, UiFace::Arial}) {
        const QFont font = UiFont(face, 13, true);
        const QFontInfo info(font);
        QCOMPARE(info.pixelSize(), 13);
        QVERIFY(info.bold());
        QVERIFY2(QFontDatabase::writingSystems(info.family()).contains(QFontDatabase::Cyrillic),
                 qPrintable(info.family()));
    }
}

std::unique_ptr<QObject> MakePicturesTest() {
    return std::make_unique<PicturesTest>();
}

#include "PicturesTest.moc"
