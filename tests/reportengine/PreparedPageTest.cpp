#include "PreparedPage.h"
#include "PagePainter.h"
#include "Fonts.h"
#include "ReportFonts.h"

#include "QStringPrinter.h"
#include <QBuffer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <gtest/gtest.h>

using namespace reportengine;

namespace {

TextBox Box(const char* name, QRectF geometry, const char* text, bool visible = true) {
    TextBox box;
    box.name = QString::fromUtf8(name);
    box.geometry = geometry;
    box.visible = visible;
    box.text = QString::fromUtf8(text);
    return box;
}

// A small page: a value box, a hidden row and a narrow box that its text overflows.
Template SamplePage() {
    Template t;
    t.name = QStringLiteral("sample");
    t.variables = {{" NC1", {}, true}, {"mat", QStringLiteral("'Цилиндр ЗОРБАЛИТ - 80'"), false}};
    t.page.boxes = {
        Box("Date", QRectF(525, 125, 79, 19), "[Date]"),
        Box("Hidden", QRectF(26, 400, 200, 15), "Диаметр трубы, мм", false),
        Box("Narrow", QRectF(412, 249, 94.5, 15.1), "[mat]"),
        Box("Tall", QRectF(412, 300, 94.5, 200), "[mat]"),
    };
    return t;
}

const PrepareContext context{QDate(2024, 3, 5), QLocale(QLocale::Russian)};

} // namespace

TEST(PreparePage, KeepsVisibleBoxesWithTheirFinalTexts) {
    const Template t = SamplePage();
    const PreparedPage page = PreparePage(t, context);

    EXPECT_EQ(page.paperMm, QSizeF(210, 297));
    ASSERT_EQ(page.boxes.size(), 3u);
    EXPECT_EQ(page.Find(QStringLiteral("Hidden")), nullptr);
    ASSERT_NE(page.Find(QStringLiteral("Date")), nullptr);
    EXPECT_EQ(page.Find(QStringLiteral("Date"))->text, QStringLiteral("05.03.2024"));
    EXPECT_EQ(page.Find(QStringLiteral("Narrow"))->text, QStringLiteral("Цилиндр ЗОРБАЛИТ - 80"));
    // Preparing leaves the template as it was.
    EXPECT_EQ(t.page.boxes[0].text, QStringLiteral("[Date]"));
    EXPECT_EQ(std::get<QString>(t.variables[1].value), QStringLiteral("'Цилиндр ЗОРБАЛИТ - 80'"));
}

TEST(PreparePage, PlacesLinesByTheBoxRules) {
    const PreparedPage page = PreparePage(SamplePage(), context);

    const PreparedBox* date = page.Find(QStringLiteral("Date"));
    ASSERT_EQ(date->lines.size(), 1u);
    EXPECT_EQ(date->lines[0].topLeft, QPointF(525 + 2, 125 + 1));

    // The text wraps at word boundaries; every line of a tall box is kept, each 2 units
    // below the one before.
    const PreparedBox* tall = page.Find(QStringLiteral("Tall"));
    ASSERT_GE(tall->lines.size(), 2u);
    QStringList pieces;
    for (const PreparedLine& line : tall->lines)
        pieces << line.text;
    EXPECT_EQ(pieces.join(QLatin1Char(' ')), QStringLiteral("Цилиндр ЗОРБАЛИТ - 80"));
    const double lineHeight = QFontMetricsF(ReportFont(tall->font)).height();
    EXPECT_NEAR(tall->lines[1].topLeft.y() - tall->lines[0].topLeft.y(), lineHeight + 2, 0.5);

    // A box one line high prints its first line only.
    const PreparedBox* narrow = page.Find(QStringLiteral("Narrow"));
    ASSERT_EQ(narrow->lines.size(), 1u);
    EXPECT_EQ(narrow->lines[0].text, tall->lines[0].text);
}

TEST(PreparePage, AnEmptyTextHasNoLines) {
    Template t;
    t.variables = {{"nt", {}, false}};
    t.page.boxes = {Box("Value", QRectF(0, 0, 100, 20), "[nt]")};
    const PreparedPage page = PreparePage(t, context);
    ASSERT_EQ(page.boxes.size(), 1u);
    EXPECT_TRUE(page.boxes[0].lines.empty());
}

TEST(Fonts, ClassicFacesBecomeInstalledFacesWithCyrillic) {
    const QStringList installed = QFontDatabase::families();
    for (const char* family : {"Arial", "MS Sans Serif"}) {
        const QString face = InstalledFamily(QLatin1String(family));
        EXPECT_TRUE(installed.contains(face)) << family << " -> " << face.toStdString();
        EXPECT_TRUE(QFontDatabase::writingSystems(face).contains(QFontDatabase::Cyrillic))
            << face.toStdString();
    }
    // Where Arial itself is missing, its metric twin stands in for it.
    const QString arial = InstalledFamily(QStringLiteral("Arial"));
    EXPECT_TRUE(arial == QLatin1String("Arial") || arial == QLatin1String("Liberation Sans"))
        << arial.toStdString();

    FontSpec spec;
    spec.pixelSize = 19;
    spec.bold = true;
    const QFont font = ReportFont(spec);
    EXPECT_EQ(QFontInfo(font).family(), arial);
    EXPECT_EQ(font.pixelSize(), 19);
    EXPECT_EQ(InstalledFamily(QStringLiteral("No Such Face")), QStringLiteral("No Such Face"));
}

TEST(WritePdf, WritesOnePageOrReportsFailure) {
    const PreparedPage page = PreparePage(SamplePage(), context);
    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(WritePdf(page, buffer));
    EXPECT_TRUE(buffer.data().startsWith("%PDF"));
    EXPECT_EQ(buffer.data().count("/Type /Page") - buffer.data().count("/Type /Pages"), 1);

    EXPECT_FALSE(WritePdf(page, QStringLiteral("/no/such/folder/report.pdf")));
}
