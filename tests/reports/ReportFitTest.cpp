// Nothing printed falls off the sheet: every report, of every kind, with every material and
// the longest texts that the program prints, laid out by the report command and the real
// layout, lies inside the printable area; the cases that once lost their last lines are
// read back from the PDF file.
#include "CalculateCommand.h"
#include "PagePainter.h"
#include "ReportCommand.h"

#include "PdfText.h"
#include "QStringPrinter.h"
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using reportengine::PreparedPage;
using workflow::Control;
using workflow::Inputs;

namespace {

const reportengine::PrepareContext russian{QDate(2024, 3, 5), QLocale(QLocale::Russian)};

// Longer than any verdict the check gives: the allowance's words and the note past the
// largest product.
const QString LongestVerdict =
    QStringLiteral("не обеспечено; толщина вне сортамента изделий; в пределах допуска 3 мм "
                   "(СП 61.13330.2012, п. 6.12); с запасом — 50 мм");

std::string Where(int kind, const Inputs& in, const char* variant) {
    return "kind " + std::to_string(kind) + ", " +
           (in.Choice(Control::RzRadioGroup1) == 1 ? "plane" : "pipe") + ", material " +
           in.materialValue.value_or("none") + ", " + variant;
}

// Every box and every line on the sheet inside its printable area, each line inside its box,
// no two boxes over one another, and every character of a box on its lines.
void ExpectOnTheSheet(const PreparedPage& page, const std::string& where) {
    SCOPED_TRACE(where);
    constexpr double Hair = 0.01;
    const QRectF printable = page.printable.adjusted(-Hair, -Hair, Hair, Hair);
    ASSERT_GT(printable.height(), 0);
    for (std::size_t i = 0; i < page.boxes.size(); ++i) {
        const auto& box = page.boxes[i];
        const QRectF onSheet = page.OnSheet(box.geometry);
        EXPECT_TRUE(printable.contains(onSheet)) << box.name.toStdString();
        QStringList printed;
        for (const auto& line : box.lines) {
            const QRectF lineRect(line.topLeft, line.size);
            EXPECT_TRUE(printable.contains(page.OnSheet(lineRect)))
                << box.name.toStdString() << ": " << line.text.toStdString();
            EXPECT_LE(lineRect.right(), box.geometry.right() + Hair) << line.text.toStdString();
            EXPECT_LE(lineRect.top(), box.geometry.bottom()) << line.text.toStdString();
            printed << line.text;
        }
        static const QRegularExpression blanks(QStringLiteral("\\s"));
        EXPECT_EQ(printed.join(QString()).remove(blanks), QString(box.text).remove(blanks))
            << box.name.toStdString();
        for (std::size_t j = 0; j < i; ++j) {
            const QRectF other = page.boxes[j].geometry.adjusted(0.5, 0.5, -0.5, -0.5);
            EXPECT_FALSE(other.intersects(box.geometry))
                << box.name.toStdString() << " over " << page.boxes[j].name.toStdString();
        }
    }
}

// The row of a choice whose printed text is the longest.
int LongestRow(const workflow::ChoiceSpec& choice) {
    auto printed = [&](int row) {
        return choice.control == Control::RzComboBox2
                   ? QString::fromStdString(workflow::LayingText(row)).size()
                   : QString::fromUtf8(
                         workflow::ChoiceRowText(choice.control, row).data(),
                         qsizetype(workflow::ChoiceRowText(choice.control, row).size()))
                         .size();
    };
    int longest = 0;
    for (int row = 1; row < int(choice.rows.size()); ++row)
        if (printed(row) > printed(longest)) longest = row;
    return longest;
}

// A window on a kind whose every list shows its longest row, a pipe of 18 mm or a plane.
Inputs LongestInputs(int kind, bool plane, const std::string& material) {
    Inputs in;
    for (const workflow::ChoiceSpec& choice : workflow::Choices())
        if (const int page = workflow::PageOf(choice.control);
            page == kind || page == workflow::CommonPanel)
            in.Choice(choice.control) = LongestRow(choice);
    in.Choice(Control::RzRadioGroup1) = plane ? 1 : 0;
    in.Choice(Control::RzComboBox3) = 0; // 18 mm
    in.materialValue = material;
    return in;
}

// A calculation as the window runs it: on a fresh engine, the fields it writes written.
workflow::ShownResult Calculated(int kind, Inputs& in) {
    T_calc engine;
    workflow::ShownResult shown;
    shown.KindChosen(kind);
    const auto effects = workflow::Calculate(kind, in, engine, ",");
    shown.Calculated(kind, in, effects);
    for (const workflow::Effect& effect : effects)
        if (const auto* set = std::get_if<workflow::SetField>(&effect))
            in.Field(set->field) = set->value;
    return shown;
}

// The figures of a check with every row it may have, each at its widest.
workflow::AcceptedCheck WidestCheck() {
    const workflow::CheckFigure wide{"q", "Плотность теплового потока через поверхность изоляции",
                                     "Вт/м²", -1234567.8, 1};
    return {1000000,      wide,    wide,        {wide, wide, wide}, workflow::CheckState::NotMet,
            std::nullopt, 4133150, {wide, wide}};
}

// The verdict's row of a report: the last of the check's rows that is shown.
reportengine::TextBox* VerdictBox(reportengine::Template& report) {
    for (int row = reporttemplate::CheckRows - 1; row >= 0; --row)
        if (auto* box = report.FindObject(reporttemplate::CheckValueBox(row)); box && box->visible)
            return box;
    return nullptr;
}

} // namespace

// Each kind, object and material, first as calculated, then with the widest check, the
// longest verdict and the largest thickness that a result may show.
TEST(ReportFit, EveryKindAndMaterialWithTheLongestTextsStaysOnTheSheet) {
    reports::ReportTemplates templates;
    int laidOut = 0;
    for (int kind = 0; kind < workflow::CalcMethodCount; ++kind) {
        for (const bool plane : {false, true}) {
            for (const workflow::MaterialSpec& material : workflow::MaterialCatalogue()) {
                Inputs in = LongestInputs(kind, plane, std::string(material.value));
                const workflow::ShownResult shown = Calculated(kind, in);
                auto* report = reports::FillReport(templates, kind, in, shown);
                ASSERT_NE(report, nullptr);
                ExpectOnTheSheet(reportengine::PreparePage(*report, russian),
                                 Where(kind, in, "calculated"));

                workflow::ShownResult widest;
                widest.KindChosen(kind);
                std::vector<workflow::Effect> effects;
                effects.emplace_back(workflow::SetResult{"4133150,0"});
                effects.emplace_back(workflow::ShowCheck{WidestCheck()});
                if (kind == 0)
                    effects.push_back(workflow::SetField{Control::RzNumericEdit3, -123456.789});
                widest.Calculated(kind, in, effects);
                report = reports::FillReport(templates, kind, in, widest);
                ASSERT_NE(report, nullptr);
                reportengine::TextBox* verdict = VerdictBox(*report);
                ASSERT_NE(verdict, nullptr) << Where(kind, in, "widest");
                verdict->text = LongestVerdict.toStdString();
                ExpectOnTheSheet(reportengine::PreparePage(*report, russian),
                                 Where(kind, in, "widest"));
                laidOut += 2;
            }
        }
    }
    EXPECT_EQ(laidOut,
              workflow::CalcMethodCount * 2 * int(workflow::MaterialCatalogue().size()) * 2);
}

// Too much text for any font: the page shrinks as a whole rather than lose a line.
TEST(ReportFit, TextBeyondAnyReportShrinksThePageOntoTheSheet) {
    reports::ReportTemplates templates;
    Inputs in;
    auto* report = reports::FillReport(templates, 1, in, workflow::ShownResult{});
    ASSERT_NE(report, nullptr);
    QString flood;
    for (int i = 0; i < 400; ++i)
        flood += QStringLiteral("материал%1 ").arg(i);
    report->SetValue(report->IndexOf("mat"), ("'" + flood + "'").toStdString());
    const PreparedPage page = reportengine::PreparePage(*report, russian);
    EXPECT_LT(page.scale, 1);
    ExpectOnTheSheet(page, "flooded");
}

namespace {

constexpr double MmPerPoint = 25.4 / 72;

struct Word {
    QString text;
    double bottomMm;
};

// The words of each page as pdftotext -bbox reads them, with the sheet's height.
std::vector<std::vector<Word>> ReadPages(const QString& pdf, double& sheetMm) {
    const QString html = PdfText(pdf, {QStringLiteral("-bbox")});
    static const QRegularExpression item(
        QStringLiteral("<page width=\"[0-9.]+\" height=\"([0-9.]+)\"|<word xMin=\"[0-9.]+\" "
                       "yMin=\"[0-9.]+\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<std::vector<Word>> pages;
    for (const auto& m : item.globalMatch(html)) {
        if (!m.captured(1).isEmpty()) {
            sheetMm = m.captured(1).toDouble() * MmPerPoint;
            pages.emplace_back();
        } else if (!pages.empty()) {
            pages.back().push_back({m.captured(3), m.captured(2).toDouble() * MmPerPoint});
        }
    }
    return pages;
}

} // namespace

// A long material name once wrapped into narrow lines and pushed the check's last rows off
// the sheet: a plane by the norm with the mat ЗОРБАЛИТ-80, and a pipe of 18 mm with the mat
// М1-100. Read back from the PDF, every row of the check is on the one page, above its
// printable foot.
TEST(ReportFit, TheCheckOfALongMaterialIsPrintedToItsLastRow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian));
    reports::ReportTemplates templates;
    const struct {
        bool plane;
        const char* material;
        std::vector<const char*> words;
    } cases[] = {{true, "0", {"Требование", "пределах", "допуска", "запасом"}},
                 {false, "3", {"Отношение", "норме,", "Требование"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.material);
        Inputs in;
        in.Choice(Control::RzRadioGroup1) = c.plane ? 1 : 0;
        in.Choice(Control::RzRadioGroup2) = 0; // open air
        in.Choice(Control::RzComboBox5) = 3;   // «Урал»
        in.Choice(Control::RzComboBox3) = 0;   // 18 mm
        in.Field(Control::RzNumericEdit1) = -5;
        in.Field(Control::RzNumericEdit2) = 150;
        in.materialValue = c.material;
        const workflow::ShownResult shown = Calculated(0, in);
        ASSERT_NE(shown.CurrentCheck(in), nullptr);
        const auto* report = reports::FillReport(templates, 0, in, shown);
        const QString pdf = dir.filePath(QStringLiteral("report%1.pdf").arg(c.material));
        const PreparedPage page = reportengine::PreparePage(*report, russian);
        // It fits as the template sets it: no text smaller, nothing shrunk.
        EXPECT_EQ(page.scale, 1);
        for (const auto& box : page.boxes)
            EXPECT_EQ(box.font.pixelSize,
                      report->FindObject(box.name.toStdString())->font.pixelSize)
                << box.name.toStdString();
        ASSERT_EQ(reportengine::WritePdf(page, pdf), QString());

        double sheetMm = 0;
        const auto pages = ReadPages(pdf, sheetMm);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_NEAR(sheetMm, 297, 0.5);
        for (const char* expected : c.words) {
            const QString text = QString::fromUtf8(expected);
            const auto found = std::find_if(pages[0].begin(), pages[0].end(),
                                            [&](const Word& w) { return w.text == text; });
            ASSERT_NE(found, pages[0].end()) << expected;
            EXPECT_LE(found->bottomMm, 297 - 5) << expected;
        }
    }
    QLocale::setDefault(before);
}
