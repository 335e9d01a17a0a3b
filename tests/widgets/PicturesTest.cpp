#include "Pictures.h"
#include "Fonts.h"
#include "PictureFile.h"
#include "PicturePlacement.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void picturesAreCompiledIn_data();
    void picturesAreCompiledIn();
    void drawnAheadAsTheSvgDraws_data();
    void drawnAheadAsTheSvgDraws();
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

// The bitmaps that the build draws stand for the SVG where the window shows them: on a backdrop,
// at a whole pixel, the picture looks as the SVG drawn there (blending rounds a step or two
// apart on the edges); misplaced, stale or mis-sized it would not. On a screen scaled to 150 %
// or 200 % the picture is the SVG drawn at the screen's pixels, not the bitmap enlarged.
void PicturesTest::drawnAheadAsTheSvgDraws_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<qreal>("scale");
    // clang-format off
    QTest::newRow("header, own size")    << Pictures::Header        << QRect(3, 2, 300, 60) << int(Qt::AlignLeft | Qt::AlignTop) << 1.0;
    QTest::newRow("calculate, own size") << Pictures::CalculateUp   << QRect(5, 7, 138, 38) << int(Qt::AlignCenter) << 1.0;
    QTest::newRow("close down")          << Pictures::CloseDown     << QRect(0, 0, 81, 23)  << int(Qt::AlignCenter) << 1.0;
    QTest::newRow("drop-down in a list") << Pictures::DropDown      << QRect(4, 1, 20, 23)  << int(Qt::AlignCenter) << 1.0;
    QTest::newRow("its hover face")      << Pictures::DropDownHover << QRect(4, 1, 20, 23)  << int(Qt::AlignCenter) << 1.0;
    QTest::newRow("another size")        << Pictures::Marker        << QRect(2, 2, 31, 40)  << int(Qt::AlignCenter) << 1.0;
    QTest::newRow("header at 150 %")     << Pictures::Header        << QRect(3, 2, 300, 60) << int(Qt::AlignLeft | Qt::AlignTop) << 1.5;
    QTest::newRow("calculate at 200 %")  << Pictures::CalculateUp   << QRect(5, 7, 138, 38) << int(Qt::AlignCenter) << 2.0;
    QTest::newRow("drop-down at 150 %")  << Pictures::DropDown      << QRect(4, 1, 20, 23)  << int(Qt::AlignCenter) << 1.5;
    // clang-format on
}

void PicturesTest::drawnAheadAsTheSvgDraws() {
    QFETCH(QString, path);
    QFETCH(QRect, box);
    QFETCH(int, alignment);
    QFETCH(qreal, scale);
    const auto draw = [&](const std::function<void(QPainter&)>& picture) {
        QImage image(QSize(box.right() + 8, box.bottom() + 8) * scale,
                     QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(QColor(253, 236, 234));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        picture(painter);
        return image;
    };
    const PictureFile picture(path);
    const QImage shown =
        draw([&](QPainter& p) { picture.paint(p, box, Qt::Alignment(alignment)); });
    QSvgRenderer svg(path);
    QVERIFY(svg.isValid());
    const QImage expected = draw([&](QPainter& p) {
        svg.render(&p, PlacedPicture(svg.viewBoxF().size(), box, Qt::Alignment(alignment)));
    });
    int worst = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y), b = expected.pixel(x, y);
            for (int shift : {0, 8, 16, 24})
                worst =
                    std::max(worst, std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)));
        }
    QVERIFY2(worst <= 3, qPrintable(QString::number(worst)));
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
