// The schedule printed to PDF and read back page by page, word by word, as a reader would.
#include "SchedulePrint.h"

#include "CalculateCommand.h"

#include "PdfText.h"
#include "QStringPrinter.h"
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

using workflow::ScheduleRow;

constexpr double MmPerPoint = 25.4 / 72;
const QDate Date(2024, 3, 5);

struct Word {
    QString text;
    double left, top, right; // mm from the sheet's corner
};
using Page = std::vector<Word>;

// pdftotext -bbox writes a <page> per page and in it a <word xMin yMin xMax yMax> per word.
std::vector<Page> ReadPages(const QString& pdf) {
    const QString html = PdfText(pdf, {QStringLiteral("-bbox")});
    static const QRegularExpression item(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\"[^>]*>"
                       "([^<]*)</word>"));
    std::vector<Page> pages;
    for (const auto& m : item.globalMatch(html)) {
        if (m.captured(0) == QLatin1String("<page ")) {
            pages.emplace_back();
        } else if (!pages.empty()) {
            pages.back().push_back({m.captured(4), m.captured(1).toDouble() * MmPerPoint,
                                    m.captured(2).toDouble() * MmPerPoint,
                                    m.captured(3).toDouble() * MmPerPoint});
        }
    }
    return pages;
}

// The page's words in reading order, one blank between them.
QString TextOf(const Page& page) {
    QStringList words;
    for (const Word& w : page)
        words << w.text;
    return words.join(QLatin1Char(' '));
}

int Count(const Page& page, const QString& text) {
    return int(
        std::count_if(page.begin(), page.end(), [&](const Word& w) { return w.text == text; }));
}

const Word* Find(const Page& page, const QString& text) {
    const auto found =
        std::find_if(page.begin(), page.end(), [&](const Word& w) { return w.text == text; });
    return found == page.end() ? nullptr : &*found;
}

QStringList WordsOf(const std::string& text) {
    return QString::fromStdString(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList HeadingWords() {
    return QStringLiteral("№ Обозначение Вид расчёта Объект Материал Исходные данные Толщина "
                          "расчётная, мм принятая, Проверка")
        .split(QLatin1Char(' '));
}

// A pipe calculated for a given surface temperature as the window runs it: 250 °C inside,
// 45 °C allowed outside, which the accepted 50 mm misses within the norm's allowance.
ScheduleRow CalculatedRow() {
    workflow::Inputs inputs;
    inputs.Field(workflow::Control::RzNumericEdit6) = 20;
    inputs.Field(workflow::Control::RzNumericEdit7) = 250;
    inputs.Field(workflow::Control::RzNumericEdit8) = 45;
    T_calc engine;
    workflow::ShownResult shown;
    shown.KindChosen(1);
    shown.Calculated(1, inputs, workflow::Calculate(1, inputs, engine, ","));
    auto made = workflow::RowFromCalculation(1, inputs, shown, "2024-03-05T10:00:00", ",");
    EXPECT_TRUE(made.row) << made.reason;
    ScheduleRow row = made.row.value_or(ScheduleRow{});
    row.tag = "Т1-108";
    return row;
}

class SchedulePrint : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    std::vector<Page> Printed(const std::vector<ScheduleRow>& rows) {
        const QString pdf = dir.filePath(QStringLiteral("schedule.pdf"));
        EXPECT_EQ(reports::WriteSchedulePdf(pdf, rows, Date), QString());
        auto pages = ReadPages(pdf);
        EXPECT_FALSE(pages.empty()) << "pdftotext could not read " << pdf.toStdString();
        return pages;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(SchedulePrint, OneRowFillsOnePageWithTheTitleTheHeadingsAndTheRow) {
    const ScheduleRow row = CalculatedRow();
    ASSERT_EQ(row.checkState, workflow::CheckState::WithinAllowance);
    const auto pages = Printed({row});
    ASSERT_EQ(pages.size(), 1u);
    const Page& page = pages[0];
    const QString text = TextOf(page);

    for (const char* phrase :
         {"Ведомость толщин тепловой изоляции от 05.03.2024", "Лист 1 из 1", "Т1-108",
          "в пределах допуска 3 мм (СП 61.13330.2012, п. 6.12); с запасом — 60 мм"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(phrase))) << phrase << "\n"
                                                              << text.toStdString();
    for (const QString& word : HeadingWords())
        EXPECT_GE(Count(page, word), 1) << word.toStdString();
    // The thicknesses: the method's with one decimal and a comma, the accepted one whole.
    EXPECT_EQ(Count(page, QStringLiteral("52,0")), 1) << text.toStdString();
    EXPECT_EQ(Count(page, QStringLiteral("50")), 1) << text.toStdString();
    // Every word of the other cells, whichever lines they were broken into.
    for (const std::string& cell :
         {std::string(workflow::KindCaption(row.kind)), row.object, row.location, row.material,
          workflow::InputsText(row), row.checkFigures})
        for (const QString& word : WordsOf(cell))
            EXPECT_GE(Count(page, word), 1) << word.toStdString() << " of " << cell;
    EXPECT_GE(Count(page, QStringLiteral("металл")), 1) << "the covering";

    // The rows stand under their headings, the number in the first column.
    const Word* number = Find(page, QStringLiteral("№"));
    const Word* one = Find(page, QStringLiteral("1"));
    const Word* tag = Find(page, QStringLiteral("Т1-108"));
    ASSERT_TRUE(number && one && tag);
    EXPECT_GT(one->top, number->top);
    EXPECT_LT(one->right, tag->left);
}

TEST_F(SchedulePrint, AnEmptyScheduleSaysSoOnOnePage) {
    const auto pages = Printed({});
    ASSERT_EQ(pages.size(), 1u);
    const QString text = TextOf(pages[0]);
    for (const char* phrase :
         {"Ведомость толщин тепловой изоляции от 05.03.2024", "Ведомость пуста", "Лист 1 из 1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(phrase))) << phrase << "\n"
                                                              << text.toStdString();
    for (const QString& word : HeadingWords())
        EXPECT_GE(Count(pages[0], word), 1) << word.toStdString();
}

// Rows of different heights, so that the breaks fall at different places in them; each row
// ends with a word of its own in its tallest cell, to see that no row is cut in two.
TEST_F(SchedulePrint, ALongScheduleRunsOverPagesWithHeadingsAndWholeRows) {
    const ScheduleRow sample = CalculatedRow();
    std::vector<ScheduleRow> rows;
    for (int i = 1; i <= 60; ++i) {
        ScheduleRow row = sample;
        row.tag = QStringLiteral("Т-%1").arg(i, 3, 10, QLatin1Char('0')).toStdString();
        for (int extra = 0; extra < i % 5 * 4; ++extra)
            row.inputs.push_back({workflow::Control::RzNumericEdit1, "Примечание", "длинное", 0});
        row.inputs.push_back({workflow::Control::RzNumericEdit1, "Конец", "к" + row.tag, 0});
        rows.push_back(row);
    }
    const auto pages = Printed(rows);
    const int count = int(pages.size());
    ASSERT_GE(count, 3);

    std::map<QString, int> pageOfTag, pageOfEnd;
    for (int p = 0; p < count; ++p) {
        const Page& page = pages[std::size_t(p)];
        const QString text = TextOf(page);
        EXPECT_TRUE(text.contains(QStringLiteral("Лист %1 из %2").arg(p + 1).arg(count)))
            << "page " << p + 1 << "\n"
            << text.toStdString();
        EXPECT_EQ(text.contains(QStringLiteral("Ведомость толщин")), p == 0) << "page " << p + 1;
        for (const QString& word : HeadingWords())
            EXPECT_GE(Count(page, word), 1) << word.toStdString() << " on page " << p + 1;
        const Word* heading = Find(page, QStringLiteral("Обозначение"));
        ASSERT_NE(heading, nullptr);
        for (const Word& w : page) {
            if (w.text.startsWith(QStringLiteral("Т-"))) {
                EXPECT_GT(w.top, heading->top) << w.text.toStdString();
                EXPECT_TRUE(pageOfTag.emplace(w.text, p).second)
                    << w.text.toStdString() << " printed twice";
            }
            if (w.text.startsWith(QStringLiteral("кТ-"))) {
                EXPECT_TRUE(pageOfEnd.emplace(w.text.mid(1), p).second) << w.text.toStdString();
            }
        }
    }
    ASSERT_EQ(pageOfTag.size(), rows.size());
    int previous = 0;
    for (const ScheduleRow& row : rows) {
        const QString tag = QString::fromStdString(row.tag);
        EXPECT_EQ(pageOfEnd[tag], pageOfTag[tag])
            << tag.toStdString() << " is cut over a page break";
        EXPECT_GE(pageOfTag[tag], previous) << tag.toStdString() << " out of order";
        previous = pageOfTag[tag];
    }
    EXPECT_EQ(pageOfTag[QStringLiteral("Т-060")], count - 1);
}

// Long texts break into lines inside their columns: every word read back, none of it beyond
// the column's edges. The sheet is A4 across, 20 mm left and 10 mm right margins; the
// material takes 12 % of the table from 36 %, the inputs 24 % from 48 %.
TEST_F(SchedulePrint, LongTextsWrapInsideTheirColumns) {
    ScheduleRow row = CalculatedRow();
    row.material = "Маты минераловатные прошивные в обкладке из металлической сетки с одной "
                   "стороны на синтетическом связующем марки 100 плотностью не более 125";
    for (int i = 0; i < 12; ++i)
        row.inputs.push_back({workflow::Control::RzNumericEdit1, "Дополнительное условие",
                              "значение" + std::to_string(i), 0});
    const auto pages = Printed({row});
    ASSERT_EQ(pages.size(), 1u);
    const Page& page = pages[0];

    const double left = 20, width = 297 - 20 - 10;
    const struct {
        std::string text;
        double fromPercent, percent;
    } cells[] = {{row.material, 36, 12}, {workflow::InputsText(row), 48, 24}};
    for (const auto& cell : cells) {
        const double from = left + width * cell.fromPercent / 100;
        const double to = from + width * cell.percent / 100;
        std::set<double> lines;
        for (const QString& word : WordsOf(cell.text)) {
            const auto inside = std::find_if(page.begin(), page.end(), [&](const Word& w) {
                return w.text == word && w.left >= from && w.right <= to;
            });
            ASSERT_NE(inside, page.end()) << word.toStdString();
            lines.insert(inside->top);
        }
        EXPECT_GE(lines.size(), 3u) << cell.text;
    }
}

// A row taller than a page is not lost: it runs on over the pages it needs, each with its
// headings, and each of its words is printed once.
TEST_F(SchedulePrint, ARowTallerThanAPageRunsOnOverPages) {
    ScheduleRow row = CalculatedRow();
    for (int i = 0; i < 400; ++i)
        row.inputs.push_back(
            {workflow::Control::RzNumericEdit1, "Условие", "слово" + std::to_string(i), 0});
    ScheduleRow after = CalculatedRow();
    after.tag = "Т-после";
    const auto pages = Printed({row, after});
    ASSERT_GE(pages.size(), 2u);

    std::map<QString, int> printed;
    for (const Page& page : pages) {
        EXPECT_GE(Count(page, QStringLiteral("Обозначение")), 1);
        for (const Word& w : page)
            if (w.text.startsWith(QStringLiteral("слово")))
                ++printed[QString(w.text).remove(QLatin1Char(';'))];
    }
    for (int i = 0; i < 400; ++i)
        EXPECT_EQ(printed[QStringLiteral("слово%1").arg(i)], 1) << i;
    EXPECT_EQ(Count(pages.back(), QStringLiteral("Т-после")), 1);
}

TEST_F(SchedulePrint, ThePdfIsTitledByTheDateAndAnUnwritablePathFails) {
    const QString pdf = dir.filePath(QStringLiteral("titled.pdf"));
    ASSERT_EQ(reports::WriteSchedulePdf(pdf, {CalculatedRow()}, Date), QString());
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral(PDFINFO), {pdf});
    ASSERT_TRUE(pdfinfo.waitForFinished(30000));
    const QString info = QString::fromUtf8(pdfinfo.readAllStandardOutput());
    static const QRegularExpression title(QStringLiteral("^Title:\\s+(.*)$"),
                                          QRegularExpression::MultilineOption);
    EXPECT_EQ(title.match(info).captured(1),
              QStringLiteral("Ведомость толщин тепловой изоляции — 2024-03-05"));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 595"))))
        << info.toStdString();

    EXPECT_EQ(reports::WriteSchedulePdf(QStringLiteral("/no/such/folder/schedule.pdf"),
                                        {CalculatedRow()}, Date),
              QStringLiteral("Нет такого файла или каталога"));
}

// A printer set up for the schedule prints the pages of the PDF file, at the same places,
// whether it paints from the sheet's corner or inside the margins.
TEST_F(SchedulePrint, APrinterGetsThePagesOfThePdf) {
    const std::vector<ScheduleRow> rows(30, CalculatedRow());
    const auto expected = Printed(rows);
    ASSERT_GE(expected.size(), 2u);
    const Word* expectedTitle = Find(expected[0], QStringLiteral("Ведомость"));
    ASSERT_NE(expectedTitle, nullptr);

    for (const bool fullPage : {false, true}) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = dir.filePath(QStringLiteral("printed%1.pdf").arg(fullPage));
        printer.setOutputFileName(pdf);
        printer.setPageLayout(reports::SchedulePageLayout());
        printer.setFullPage(fullPage);
        reports::PrintSchedule(printer, rows, Date);

        const auto pages = ReadPages(pdf);
        ASSERT_EQ(pages.size(), expected.size()) << "full page: " << fullPage;
        for (std::size_t p = 0; p < pages.size(); ++p)
            EXPECT_EQ(TextOf(pages[p]), TextOf(expected[p])) << "page " << p + 1;
        const Word* title = Find(pages[0], QStringLiteral("Ведомость"));
        ASSERT_NE(title, nullptr);
        EXPECT_NEAR(title->left, expectedTitle->left, 0.3) << "full page: " << fullPage;
        EXPECT_NEAR(title->top, expectedTitle->top, 0.3) << "full page: " << fullPage;
    }
}

// A line break in an imported text starts a new line on paper, within the row's cell.
TEST_F(SchedulePrint, ALineBreakInATextStartsANewLine) {
    ScheduleRow row = CalculatedRow();
    row.tag = "Т1-108\r\nлиния2";
    const auto pages = Printed({row});
    ASSERT_EQ(pages.size(), 1u);
    const Word* first = Find(pages[0], QStringLiteral("Т1-108"));
    const Word* second = Find(pages[0], QStringLiteral("линия2"));
    ASSERT_TRUE(first && second) << TextOf(pages[0]).toStdString();
    EXPECT_GT(second->top, first->top + 2);
    EXPECT_NEAR(second->left, first->left, 0.5);
}
