#include "PreparedPage.h"
#include "Fonts.h"
#include "PagePainter.h"
#include "PdfText.h"
#include "ReportFonts.h"

#include "QStringPrinter.h"
#include <QBuffer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <tuple>

using namespace reportengine;

namespace {

TextBox Box(const char* name, QRectF geometry, const char* text, bool visible = true) {
    TextBox box;
    box.name = name;
    box.geometry = {geometry.left(), geometry.top(), geometry.width(), geometry.height()};
    box.visible = visible;
    box.text = text;
    return box;
}

// A small page: a value box, a hidden row, a narrow box that its text overflows and a tall
// one that holds it.
Template SamplePage() {
    Template t;
    t.name = "sample";
    t.variables = {{" NC1", {}, true}, {"mat", std::string("'Цилиндр ЗОРБАЛИТ - 80'"), false}};
    t.page.boxes = {
        Box("Date", QRectF(525, 125, 79, 19), "[Date]"),
        Box("Hidden", QRectF(26, 400, 200, 15), "Диаметр трубы, мм", false),
        Box("Narrow", QRectF(412, 249, 94.5, 15.1), "[mat]"),
        Box("Tall", QRectF(412, 300, 94.5, 200), "[mat]"),
    };
    return t;
}

const PrepareContext context{QDate(2024, 3, 5), QLocale(QLocale::Russian)};

// Rows of a form: a label and its value side by side, a row right below them, one far down
// and a hidden box beside the first row, one line high each.
Template Rows(const char* label, const char* value, const char* next) {
    Template t;
    t.page.boxes = {
        Box("Label", QRectF(26, 200, 94.5, 15.1), label),
        Box("Value", QRectF(412, 200, 94.5, 15.1), value),
        Box("Hidden", QRectF(600, 200, 20, 15.1), "Невидимый длинный текст", false),
        Box("Next", QRectF(26, 223, 94.5, 15.1), next),
        Box("Far", QRectF(26, 900, 200, 15.1), "Толщина"),
    };
    return t;
}

QString Joined(const PreparedBox& box) {
    QStringList pieces;
    for (const PreparedLine& line : box.lines)
        pieces << line.text;
    return pieces.join(QLatin1Char(' '));
}

// Every line of a grown box lies in it, and the box ends where its last line does.
void ExpectLinesFill(const PreparedBox& box) {
    ASSERT_FALSE(box.lines.empty()) << box.name.toStdString();
    for (const PreparedLine& line : box.lines) {
        EXPECT_GE(line.topLeft.y(), box.geometry.top()) << box.name.toStdString();
        EXPECT_LT(line.topLeft.y(), box.geometry.bottom()) << box.name.toStdString();
    }
    const double lineHeight = QFontMetricsF(ReportFont(box.font)).height();
    EXPECT_NEAR(box.geometry.bottom(), box.lines.back().topLeft.y() + lineHeight, 1)
        << box.name.toStdString();
}

double Growth(const PreparedPage& page, const char* name) {
    return page.Find(QString::fromUtf8(name))->geometry.height() - 15.1;
}

double Top(const PreparedPage& page, const char* name) {
    return page.Find(QString::fromUtf8(name))->geometry.top();
}

QString RunTool(const char* program, const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromUtf8(program), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

TEST(PreparePage, KeepsVisibleBoxesWithTheirFinalTexts) {
    Template t = SamplePage();
    const PreparedPage page = PreparePage(t, context);

    EXPECT_EQ(page.paperMm, QSizeF(210, 297));
    EXPECT_EQ(page.reportName, QStringLiteral("sample"));
    EXPECT_EQ(page.title, QStringLiteral("sample")); // no title of its own
    EXPECT_TRUE(page.author.isEmpty());
    ASSERT_EQ(page.boxes.size(), 3u);
    EXPECT_EQ(page.Find(QStringLiteral("Hidden")), nullptr);
    ASSERT_NE(page.Find(QStringLiteral("Date")), nullptr);
    EXPECT_EQ(page.Find(QStringLiteral("Date"))->text, QStringLiteral("05.03.2024"));
    EXPECT_EQ(page.Find(QStringLiteral("Narrow"))->text, QStringLiteral("Цилиндр ЗОРБАЛИТ - 80"));
    // Preparing leaves the template as it was.
    EXPECT_EQ(t.page.boxes[0].text, "[Date]");
    EXPECT_EQ(std::get<std::string>(t.variables[1].value), std::string("'Цилиндр ЗОРБАЛИТ - 80'"));

    t.title = std::string("Толщина изоляции — 2024-03-05");
    t.author = std::string("Иванов");
    const PreparedPage titled = PreparePage(t, context);
    EXPECT_EQ(titled.reportName, QStringLiteral("sample"));
    EXPECT_EQ(titled.title, QString::fromStdString(t.title));
    EXPECT_EQ(titled.author, QString::fromStdString(t.author));
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

    // A box one line high keeps them all too, broken the same way.
    const PreparedBox* narrow = page.Find(QStringLiteral("Narrow"));
    ASSERT_EQ(narrow->lines.size(), tall->lines.size());
    EXPECT_EQ(narrow->lines[1].text, tall->lines[1].text);
}

TEST(PreparePage, ABoxGrowsToHoldItsTextAndTheRowsBelowMoveDown) {
    const PreparedPage page = PreparePage(Rows("Расположение", "Открытый воздух", "Материал"));

    const PreparedBox* value = page.Find(QStringLiteral("Value"));
    EXPECT_EQ(value->lines.size(), 2u);
    EXPECT_EQ(Joined(*value), QStringLiteral("Открытый воздух"));
    ExpectLinesFill(*value);
    const double growth = Growth(page, "Value");
    EXPECT_GT(growth, 10);
    EXPECT_EQ(value->geometry.top(), 200);
    // The label beside it stays as it is; everything below moves by the growth.
    EXPECT_EQ(page.Find(QStringLiteral("Label"))->geometry, QRectF(26, 200, 94.5, 15.1));
    EXPECT_DOUBLE_EQ(Top(page, "Next"), 223 + growth);
    EXPECT_DOUBLE_EQ(Top(page, "Far"), 900 + growth);
    EXPECT_DOUBLE_EQ(page.Find(QStringLiteral("Far"))->lines[0].topLeft.y(), 900 + growth + 1);
}

TEST(PreparePage, RowsBelowMoveByTheLargestGrowthAboveThemAndGrowthsAddUp) {
    const PreparedPage page = PreparePage(
        Rows("Температура окружающего воздуха", "Открытый воздух", "Относительная влажность"));

    const double label = Growth(page, "Label");
    const double value = Growth(page, "Value");
    const double next = Growth(page, "Next");
    EXPECT_GT(label, value); // three lines against two
    EXPECT_GT(value, 0);
    EXPECT_GT(next, 0);
    EXPECT_EQ(Top(page, "Label"), 200);
    EXPECT_EQ(Top(page, "Value"), 200);
    EXPECT_DOUBLE_EQ(Top(page, "Next"), 223 + label);
    EXPECT_DOUBLE_EQ(Top(page, "Far"), 900 + label + next);
    EXPECT_EQ(Joined(*page.Find(QStringLiteral("Label"))),
              QStringLiteral("Температура окружающего воздуха"));
    ExpectLinesFill(*page.Find(QStringLiteral("Next")));
}

TEST(PreparePage, TextsThatFitMoveNothing) {
    // One line in a box just the font's height: its descenders overhang the edge a little, as
    // they always have; the long text of the hidden box plays no part.
    const Template t = Rows("Расположение", "Труба", "Материал");
    const PreparedPage page = PreparePage(t);
    ASSERT_EQ(page.boxes.size(), 4u);
    for (const PreparedBox& box : page.boxes) {
        const auto& g = t.FindObject(box.name.toStdString())->geometry;
        EXPECT_EQ(box.geometry, QRectF(g.left, g.top, g.width, g.height)) << box.name.toStdString();
        EXPECT_EQ(box.lines.size(), 1u) << box.name.toStdString();
    }
}

// Where a grown box would push the rows below past the printable foot (292 mm of an A4
// sheet with 5 mm margins), the widest blank band closes first and the texts keep their size;
// where no band is left to close, the texts get smaller, each row still whole on the sheet.
TEST(PreparePage, ARunOverPageClosesItsWidestBandFirstThenSetsSmallerText) {
    const double foot = 292 / 25.4 * 96;
    const QString words = QStringLiteral("слово ").repeated(60).trimmed();

    Template spacious;
    spacious.page.boxes = {Box("Top", QRectF(26, 100, 200, 15.1), ""),
                           Box("Narrow", QRectF(26, 140, 200, 15.1), ""),
                           Box("Bottom", QRectF(26, foot - 20, 200, 15.1), "Требование")};
    spacious.page.boxes[0].text = std::string("Объект");
    spacious.page.boxes[1].text = words.toStdString();
    const PreparedPage closed = PreparePage(spacious);
    EXPECT_EQ(closed.scale, 1);
    EXPECT_EQ(closed.Find(QStringLiteral("Bottom"))->font.pixelSize, 13);
    EXPECT_LE(closed.Find(QStringLiteral("Bottom"))->geometry.bottom(), foot);
    // The band above the grown box was narrow and stays; the wide one below it closed.
    EXPECT_EQ(Top(closed, "Narrow"), 140);
    EXPECT_GE(Top(closed, "Bottom") - closed.Find(QStringLiteral("Narrow"))->geometry.bottom(),
              SmallestRowGap - 1e-6);

    // Rows 1 mm apart down to the foot: no band to close, so the text gets smaller. The first
    // row's text is a third wider than its box at 13 px and fits on one line at 9 px.
    const QString wide = QStringLiteral("Строка, которая не помещается");
    const double width = QFontMetricsF(ReportFont(FontSpec{})).horizontalAdvance(wide) / 1.3 +
                         BoxPaddingLeft + BoxPaddingRight;
    Template packed;
    for (int row = 0; row < 70; ++row) {
        const double top = 30 + row * (15.1 + SmallestRowGap);
        if (top + 15.1 > foot) break;
        packed.page.boxes.push_back(Box(QStringLiteral("Row%1").arg(row).toUtf8().constData(),
                                        QRectF(26, top, width, 15.1), "Строка"));
    }
    packed.page.boxes[0].text = wide.toStdString();
    const PreparedPage smaller = PreparePage(packed);
    EXPECT_EQ(smaller.scale, 1);
    EXPECT_LT(smaller.boxes.front().font.pixelSize, 13);
    EXPECT_GE(smaller.boxes.front().font.pixelSize, SmallestFontPixels);
    for (const PreparedBox& box : smaller.boxes)
        EXPECT_LE(box.geometry.bottom(), smaller.printable.bottom() + 0.01)
            << box.name.toStdString();
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

    EXPECT_EQ(WritePdf(page, QStringLiteral("/no/such/folder/report.pdf")),
              QStringLiteral("Нет такого файла или каталога"));
}

TEST(WritePdf, NamesTheDocumentByItsTitleAndAuthor) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Template t = SamplePage();
    t.title = std::string("Толщина изоляции — по заданной температуре поверхности — 2026-12-10");
    t.author = std::string("Иванов И. И. <ПТО & К°>");
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    ASSERT_EQ(WritePdf(PreparePage(t, context), pdf), QString());

    static const QRegularExpression titleLine(QStringLiteral("^Title:\\s+(.*)$"),
                                              QRegularExpression::MultilineOption);
    EXPECT_EQ(titleLine.match(RunTool(PDFINFO, {pdf})).captured(1),
              QString::fromStdString(t.title));

    // The author stands in the XMP metadata, which must be well-formed XML.
    QXmlStreamReader xmp(RunTool(PDFINFO, {QStringLiteral("-meta"), pdf}));
    QStringList titles, creators;
    QString inside;
    while (!xmp.atEnd()) {
        xmp.readNext();
        if (!xmp.isStartElement()) continue;
        if (xmp.namespaceUri() == QLatin1String("http://purl.org/dc/elements/1.1/"))
            inside = xmp.name().toString();
        else if (xmp.name() == QLatin1String("li"))
            (inside == QLatin1String("title") ? titles : creators) << xmp.readElementText();
    }
    EXPECT_FALSE(xmp.hasError()) << xmp.errorString().toStdString();
    EXPECT_EQ(titles, QStringList{QString::fromStdString(t.title)});
    EXPECT_EQ(creators, QStringList{QString::fromStdString(t.author)});
}

// On paper smaller than the page, or turned to landscape, the whole page shrinks evenly to
// fit; on larger paper it stays as it is.
TEST(PaintPage, ShrinksThePageToFitSmallerPaperOnly) {
    constexpr double MmPerUnit = 25.4 / 96, MmPerPoint = 25.4 / 72;
    const double bottomTop = 236 / MmPerUnit;
    Template t;
    t.page.boxes = {Box("Top", QRectF(26, 49, 300, 19), "Объект"),
                    Box("Bottom", QRectF(393, bottomTop, 234, 15.1), "Толщина изоляции")};
    const PreparedPage page = PreparePage(t);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    const struct {
        QPageSize::PageSizeId paper;
        QPageLayout::Orientation orientation;
        double scale;
    } cases[] = {{QPageSize::A4, QPageLayout::Landscape, 210.0 / 297},
                 {QPageSize::A5, QPageLayout::Portrait, 148.0 / 210},
                 {QPageSize::A3, QPageLayout::Portrait, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QPageSize::name(c.paper).toStdString() +
                     (c.orientation == QPageLayout::Landscape ? " landscape" : " portrait"));
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        {
            QPdfWriter writer(pdf);
            writer.setPageSize(QPageSize(c.paper));
            writer.setPageOrientation(c.orientation);
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter(&writer);
            PaintPage(painter, page);
        }
        // pdftotext -bbox gives the sheet's size and every word's box, in points.
        const QString html = PdfText(pdf, {QStringLiteral("-bbox")});
        static const QRegularExpression sheet(QStringLiteral("<page width=\"[0-9.]+\" "
                                                             "height=\"([0-9.]+)\""));
        const double sheetHeightMm = sheet.match(html).captured(1).toDouble() * MmPerPoint;
        ASSERT_GT(sheetHeightMm, 0);
        static const QRegularExpression word(
            QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                           "yMax=\"([0-9.]+)\">([^<]*)</word>"));
        std::map<QString, std::array<double, 3>> words; // left, top, bottom in mm
        for (const auto& m : word.globalMatch(html))
            words[m.captured(4)] = {m.captured(1).toDouble() * MmPerPoint,
                                    m.captured(2).toDouble() * MmPerPoint,
                                    m.captured(3).toDouble() * MmPerPoint};

        for (const auto& [text, left, top] :
             {std::tuple("Объект", 26.0, 49.0), std::tuple("Толщина", 393.0, bottomTop),
              std::tuple("изоляции", -1.0, bottomTop)}) {
            const auto found = words.find(QString::fromUtf8(text));
            ASSERT_NE(found, words.end()) << text;
            const auto [leftMm, topMm, bottomMm] = found->second;
            EXPECT_LT(bottomMm, sheetHeightMm) << text;
            EXPECT_NEAR(topMm, (top + BoxPaddingTop) * MmPerUnit * c.scale, 0.5) << text;
            if (left >= 0) {
                EXPECT_NEAR(leftMm, (left + BoxPaddingLeft) * MmPerUnit * c.scale, 0.5) << text;
            }
        }
    }
}

TEST(FormatsOf, TakesTheDayAndSeparatorsFromTheLocale) {
    const auto russian = reportengine::FormatsOf({QDate(2024, 3, 5), QLocale(QLocale::Russian)});
    EXPECT_EQ(russian.date, "05.03.2024");
    EXPECT_EQ(russian.decimalPoint, ",");
    const auto english = reportengine::FormatsOf(
        {QDate(2024, 3, 5), QLocale(QLocale::English, QLocale::UnitedStates)});
    EXPECT_EQ(english.date, "3/5/24");
    EXPECT_EQ(english.decimalPoint, ".");
}
