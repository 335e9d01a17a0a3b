#include "ReportCommand.h"

#include "PreparedPage.h"

#include "QStringPrinter.h"
#include <gtest/gtest.h>

#include <functional>
#include <map>

using reportengine::PreparedPage;
using reports::FillReport;
using reports::ReportTemplates;
using reports::WindowState;

namespace {

const reportengine::PrepareContext russian{QDate(2024, 3, 5), QLocale(QLocale::Russian)};

struct Case {
    const char* title;
    int notebookPage;
    std::function<void(WindowState&)> window;
    std::map<QString, QString> texts; // box -> printed text
    std::vector<QString> hidden;
};

// A pipe of 108 mm in the open air under metal, the window's start-up choices.
void Pipe(WindowState&) {}

// A plane indoors under a non-metal covering.
void Plane(WindowState& s) {
    s.RzRadioGroup1 = 1;
    s.RzRadioGroup2 = 1;
    s.RzRadioGroup3 = 1;
    s.RzComboBox1 = QStringLiteral("Мат ламельный ЗОРБАЛИТ");
}

PreparedPage Report(ReportTemplates& templates, int notebookPage, const WindowState& state) {
    const reportengine::Template* report = FillReport(templates, notebookPage, state);
    EXPECT_NE(report, nullptr);
    return report ? reportengine::PreparePage(*report, russian) : PreparedPage{};
}

void ExpectPage(const PreparedPage& page, const Case& c) {
    SCOPED_TRACE(c.title);
    for (const auto& [box, text] : c.texts) {
        const auto* prepared = page.Find(box);
        ASSERT_NE(prepared, nullptr) << box.toStdString();
        EXPECT_EQ(prepared->text, text) << box.toStdString();
    }
    for (const QString& box : c.hidden)
        EXPECT_EQ(page.Find(box), nullptr) << box.toStdString();
}

} // namespace

TEST(FillReport, PrintsWhatTheWindowShowsForEveryKind) {
    // clang-format off
    const Case cases[] = {
        {"norm density, pipe", 2,
         [](WindowState& s) { Pipe(s); s.RzNumericEdit1 = 20; s.RzNumericEdit2 = 150;
                              s.RzNumericEdit3 = 52.12345; s.RzComboBox5 = QStringLiteral("Урал");
                              s.RzLabel4 = QStringLiteral("40,0"); },
         {{"Memo10", "Труба"}, {"Memo11", "Открытый воздух"}, {"Memo12", "Цилиндр ЗОРБАЛИТ - 80"},
          {"Memo25", "Металл"}, {"Memo29", "Урал"}, {"Memo26", "Диаметр трубы, мм"},
          {"Memo27", "108"}, {"Memo1", "150"}, {"Memo18", "20"}, {"Memo17", "Норма тепловых пртерь вт ч"},
          {"Memo19", "52,123"}, {"Memo22", "40,0"}, {"Date", "05.03.2024"}},
         {}},
        {"norm density, plane", 2,
         [](WindowState& s) { Plane(s); s.RzNumericEdit1 = -5; s.RzNumericEdit2 = 90;
                              s.RzNumericEdit3 = 35.5; s.RzComboBox5 = QStringLiteral("Крайний Север"); },
         {{"Memo10", "Плоскость"}, {"Memo11", "Помещение"}, {"Memo12", "Мат ламельный ЗОРБАЛИТ"},
          {"Memo25", "Не металл"}, {"Memo29", "Крайний Север"}, {"Memo1", "90"}, {"Memo18", "-5"},
          {"Memo19", "35,5"}, {"Memo22", "0"}},
         {"Memo26", "Memo27"}},
        {"surface temperature, pipe", 3,
         [](WindowState& s) { Pipe(s); s.RzComboBox3 = 21; s.RzNumericEdit6 = 20; s.RzNumericEdit7 = 150;
                              s.RzNumericEdit8 = 45; s.RzLabel4 = QStringLiteral("30,0"); },
         {{"Memo10", "Труба"}, {"Memo11", "Открытый воздух"}, {"Memo12", "Цилиндр ЗОРБАЛИТ - 80"},
          {"Memo23", "Металл"}, {"Memo24", "Диаметр трубы, мм"}, {"Memo25", "1020"},
          {"Memo1", "150"}, {"Memo18", "20"}, {"Memo19", "45"}, {"Memo22", "30,0"}},
         {}},
        {"surface temperature, plane", 3,
         [](WindowState& s) { Plane(s); s.RzNumericEdit6 = 25; s.RzNumericEdit7 = 300;
                              s.RzNumericEdit8 = 40; s.RzLabel4 = QStringLiteral("120,0"); },
         {{"Memo10", "Плоскость"}, {"Memo11", "Помещение"}, {"Memo23", "Не металл"},
          {"Memo1", "300"}, {"Memo18", "25"}, {"Memo19", "40"}, {"Memo22", "120,0"}},
         {"Memo24", "Memo25"}},
        {"condensation, pipe", 4,
         [](WindowState& s) { Pipe(s); s.RzComboBox3 = 0; s.RzNumericEdit11 = 20; s.RzNumericEdit12 = 5;
                              s.RzNumericEdit13 = 70; s.RzLabel4 = QStringLiteral("10,0"); },
         {{"Memo10", "Труба"}, {"Memo11", "Открытый воздух"}, {"Memo23", "Металл"},
          {"Memo25", "18"}, {"Memo1", "5"}, {"Memo18", "20"}, {"Memo19", "70"}, {"Memo22", "10,0"}},
         {}},
        {"condensation, plane", 4,
         [](WindowState& s) { Plane(s); s.RzNumericEdit11 = 30; s.RzNumericEdit12 = -10;
                              s.RzNumericEdit13 = 50; },
         {{"Memo10", "Плоскость"}, {"Memo11", "Помещение"}, {"Memo12", "Мат ламельный ЗОРБАЛИТ"},
          {"Memo23", "Не металл"}, {"Memo1", "-10"}, {"Memo18", "30"}, {"Memo19", "50"}, {"Memo22", "0"}},
         {"Memo24", "Memo25"}},
        // The hidden choices of the common panel do not reach the fixed texts of kinds 3 and 4.
        {"two-pipe channel", 5,
         [](WindowState& s) { Plane(s); s.RzComboBox1 = QStringLiteral("Цилиндр ЗОРБАЛИТ - 100");
                              s.RzComboBox3 = 11; s.RzNumericEdit16 = 5; s.RzNumericEdit17 = 1.8;
                              s.RzNumericEdit18 = 2; s.RzNumericEdit21 = 0.5; s.RzNumericEdit22 = 1;
                              s.RzComboBox4 = QStringLiteral("110"); s.RzLabel4 = QStringLiteral("70,0"); },
         {{"Memo10", "Труба подающая и обратная"}, {"Memo11", "В непроходном канале"},
          {"Memo12", "Цилиндр ЗОРБАЛИТ - 100"}, {"Memo25", "Не металлическое"},
          {"Memo26", "5"}, {"Memo1", "1,8"}, {"Memo31", "110"}, {"Memo33", "50"}, {"Memo27", "2"},
          {"Memo18", "0,5"}, {"Memo19", "1"}, {"Memo28", "Диаметр трубы"}, {"dt", "273"},
          {"Memo22", "70,0"}},
         {}},
        {"freezing", 6,
         [](WindowState& s) { Plane(s); s.RzComboBox1 = QStringLiteral("Мат прошивной  ГОСТ M1-75   и его модификации");
                              s.RzComboBox3 = 7; s.RzLabel4 = QStringLiteral("1,2346E5"); },
         {{"Memo10", "Труба"}, {"Memo11", "На открытом воздухе"}, {"Memo23", "Не металлическое"},
          {"Memo12", "Мат прошивной  ГОСТ M1-75   и его модификации"}, {"Memo1", "108"},
          {"Memo18", "5"}, {"Memo19", "18"}, {"Memo25", "-40"}, {"Memo27", "24"},
          {"Memo22", "1,2346E5"}},
         {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        ReportTemplates templates;
        WindowState state;
        c.window(state);
        ExpectPage(Report(templates, c.notebookPage, state), c);
    }
}

TEST(FillReport, OtherPagesDoNothing) {
    ReportTemplates templates;
    const WindowState state;
    for (int page : {-1, 0, 1, 7, 8})
        EXPECT_EQ(FillReport(templates, page, state), nullptr);
    for (const auto* report : {&templates.frxReport1, &templates.frxReport2, &templates.frxReport3,
                               &templates.frxReport4, &templates.frxReport5})
        for (const auto& variable : report->variables)
            EXPECT_TRUE(std::holds_alternative<std::monostate>(variable.value));
}

TEST(FillReport, EveryReportSetsTheDiameterRowAgain) {
    ReportTemplates templates;
    WindowState plane;
    Plane(plane);
    const WindowState pipe;
    EXPECT_EQ(Report(templates, 3, plane).Find(QStringLiteral("Memo25")), nullptr);
    const PreparedPage again = Report(templates, 3, pipe);
    ASSERT_NE(again.Find(QStringLiteral("Memo25")), nullptr);
    EXPECT_EQ(again.Find(QStringLiteral("Memo25"))->text, QStringLiteral("108"));
    EXPECT_EQ(again.Find(QStringLiteral("Memo10"))->text, QStringLiteral("Труба"));
}

TEST(FillReport, TheTemplateKeepsTheLastValuesOfItsKind) {
    ReportTemplates templates;
    WindowState state;
    state.RzNumericEdit7 = 150;
    state.RzLabel4 = QStringLiteral("30,0");
    FillReport(templates, 3, state);
    // Another kind's report leaves this template alone.
    FillReport(templates, 2, WindowState{});
    const PreparedPage page = reportengine::PreparePage(templates.frxReport1, russian);
    EXPECT_EQ(page.Find(QStringLiteral("Memo1"))->text, QStringLiteral("150"));
    EXPECT_EQ(page.Find(QStringLiteral("Memo22"))->text, QStringLiteral("30,0"));
}

TEST(FillReport, FieldsPrintAsTheWindowShowsThem) {
    ReportTemplates templates;
    WindowState state;
    state.RzNumericEdit3 = 12.34567; // shown with at most three decimals
    state.RzNumericEdit21 = 0.1 * 3; // 0.30000000000000004
    state.RzNumericEdit17 = 0.0125;  // shown as 0,013
    state.RzComboBox3 = -1;          // no row chosen: nothing to print
    EXPECT_EQ(Report(templates, 2, state).Find(QStringLiteral("Memo19"))->text,
              QStringLiteral("12,346"));
    const PreparedPage channel = Report(templates, 5, state);
    EXPECT_EQ(channel.Find(QStringLiteral("Memo18"))->text, QStringLiteral("0,3"));
    EXPECT_EQ(channel.Find(QStringLiteral("Memo1"))->text, QStringLiteral("0,013"));
    EXPECT_EQ(channel.Find(QStringLiteral("dt"))->text, QString());
}

TEST(FillReport, ANarrowBoxPrintsOnlyTheFirstLineOfAMaterial) {
    ReportTemplates templates;
    const PreparedPage page = Report(templates, 2, WindowState{});
    const auto* material = page.Find(QStringLiteral("Memo12"));
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->text, QStringLiteral("Цилиндр ЗОРБАЛИТ - 80"));
    ASSERT_EQ(material->lines.size(), 1u);
    EXPECT_EQ(material->lines[0].text, QStringLiteral("Цилиндр"));
    // The same name fits the wide box of the surface-temperature report.
    const PreparedPage surface = Report(templates, 3, WindowState{});
    const auto* wide = surface.Find(QStringLiteral("Memo12"));
    ASSERT_NE(wide, nullptr);
    ASSERT_EQ(wide->lines.size(), 1u);
    EXPECT_EQ(wide->lines[0].text, QStringLiteral("Цилиндр ЗОРБАЛИТ - 80"));
}
