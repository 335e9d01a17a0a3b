#include "KindReports.h"

#include "CalcKinds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace reporttemplate;

TEST(MmToUnits, MatchesTheStoredFigures) {
    EXPECT_NEAR(MmToUnits(10), 37.7953, 1e-9);
    EXPECT_NEAR(MmToUnits(109), 411.96877, 1e-9);
    EXPECT_NEAR(MmToUnits(25), 94.48825, 1e-9);
}

TEST(ReportTemplates, EachKindHasItsOwnTemplateAndHeading) {
    ReportTemplates t;
    // clang-format off
    const std::tuple<int, const char*, const char*> kinds[] = {
        {0, "frxReport3", "Расчёт толщины изоляции по норме теплопотерь"},
        {1, "frxReport1", "Расчёт толщины теплоизоляции по заданной температуре на поверхности"},
        {2, "frxReport2", "Расчёт толщины изоляции с целью предотвращения конденсации влаги на поверхности"},
        {3, "frxReport5", "Расчёт толщины изоляции для трубопроводов двухтрубной канальной прокладки"},
        {4, "frxReport4", "Расчёт толщины изоляции с целью предотвращения замерзания воды в трубопроводе"},
    };
    // clang-format on
    for (const auto& [kind, name, heading] : kinds) {
        const Template* report = t.ForKind(kind);
        ASSERT_NE(report, nullptr) << kind;
        EXPECT_EQ(report->name, name);
        ASSERT_NE(report->FindObject("Memo6"), nullptr);
        EXPECT_EQ(report->FindObject("Memo6")->text, heading);
    }
    EXPECT_EQ(t.ForKind(-1), nullptr);
    EXPECT_EQ(t.ForKind(workflow::CalcMethodCount), nullptr);
}

TEST(ReportTemplates, AreWellFormed) {
    ReportTemplates t;
    for (const Template& report : t.byKind) {
        SCOPED_TRACE(report.name);
        ASSERT_FALSE(report.variables.empty());
        EXPECT_EQ(report.variables[0].name, " NC1");
        EXPECT_TRUE(report.variables[0].isCategory);
        EXPECT_EQ(report.page.paperWidthMm, 210);
        EXPECT_EQ(report.page.paperHeightMm, 297);

        std::set<std::string> names;
        for (const auto& box : report.page.boxes) {
            EXPECT_TRUE(names.insert(box.name).second) << "twice: " << box.name;
            // Every placeholder names the date or a variable of this template.
            for (std::size_t open = box.text.find('['); open != std::string::npos;
                 open = box.text.find('[', open + 1)) {
                const std::size_t close = box.text.find(']', open);
                ASSERT_NE(close, std::string::npos) << box.name;
                const std::string name = box.text.substr(open + 1, close - open - 1);
                const int index = report.IndexOf(name);
                EXPECT_TRUE(name == "Date" ||
                            (index > 0 && !report.variables[std::size_t(index)].isCategory))
                    << box.name << ": " << name;
            }
            // The page is A4 and every box lies inside its printable area, 5 mm from the edges.
            EXPECT_GE(box.geometry.left, MmToUnits(5)) << box.name;
            EXPECT_GE(box.geometry.top, MmToUnits(5)) << box.name;
            EXPECT_LE(box.geometry.Right(), MmToUnits(205)) << box.name;
            EXPECT_LE(box.geometry.Bottom(), MmToUnits(292)) << box.name;
        }
        for (const char* shared : {"Memo2", "Memo3", "Memo4", "Date", "Memo5", "Memo20"})
            EXPECT_TRUE(names.count(shared)) << shared;

        const auto* brand = report.FindObject("Memo3");
        EXPECT_EQ(brand->text, "ЗОРБАЛИТ");
        EXPECT_EQ(brand->font.pixelSize, 19);
        EXPECT_TRUE(brand->font.bold && brand->font.underline);
        EXPECT_EQ(brand->font.color, (Rgb{255, 0, 0}));
        EXPECT_EQ(brand->background, (Rgb{255, 255, 255}));
    }
}

namespace {

std::string TextOf(const std::vector<FilledBox>& boxes, std::string_view name) {
    const auto found = std::find_if(boxes.begin(), boxes.end(),
                                    [&](const FilledBox& box) { return box.name == name; });
    return found == boxes.end() ? "(hidden)" : found->text;
}

} // namespace

// What a front end without the program's painter gets: the visible boxes, texts final.
TEST(FilledBoxes, ReplacePlaceholdersAndLeaveOutHiddenBoxes) {
    const Formats russian{"05.03.2024", ",", "-"};
    workflow::Inputs pipe;
    pipe.Field(workflow::Control::RzNumericEdit7) = 150.5;
    pipe.Field(workflow::Control::RzNumericEdit6) = -20;
    workflow::ShownResult shown;
    shown.Calculated(1, pipe, std::vector<workflow::Effect>{workflow::SetResult{"30,0"}});

    const auto current = FilledBoxes(1, pipe, shown, russian, "2024-03-05");
    EXPECT_EQ(TextOf(current, "Date"), "05.03.2024");
    EXPECT_EQ(TextOf(current, "Memo10"), "Труба");
    EXPECT_EQ(TextOf(current, "Memo25"), "108"); // a pipe's diameter row
    EXPECT_EQ(TextOf(current, "Memo1"), "150,5");
    EXPECT_EQ(TextOf(current, "Memo18"), "-20");
    EXPECT_EQ(TextOf(current, "Memo22"), "30,0");
    EXPECT_EQ(TextOf(current, "NoResult"), "(hidden)");
    EXPECT_EQ(TextOf(current, CheckHeadingBox()), "(hidden)"); // no check was given

    // Other inputs than the result's: no thickness, the no-result line; a plane has no diameter.
    workflow::Inputs plane = pipe;
    plane.Choice(workflow::Control::RzRadioGroup1) = 1;
    const auto stale = FilledBoxes(1, plane, shown, russian, "2024-03-05");
    EXPECT_EQ(TextOf(stale, "Memo10"), "Плоскость");
    EXPECT_EQ(TextOf(stale, "Memo22"), "—");
    EXPECT_EQ(TextOf(stale, "NoResult"), "Расчёт для приведённых исходных данных не выполнен");
    EXPECT_EQ(TextOf(stale, "Memo25"), "(hidden)");

    // A laying phrase of the list in lower case starts with a capital on the report.
    workflow::Inputs freezing;
    freezing.Choice(workflow::Control::RzComboBox2) = 2;
    EXPECT_EQ(TextOf(FilledBoxes(4, freezing, {}, russian, ""), "Memo29"),
              "Для стальных трубопроводов на подвесных опорах");

    EXPECT_TRUE(FilledBoxes(workflow::CalcMethodCount, pipe, shown, russian, "").empty());
}
