#include "ReportCommand.h"

#include "PreparedPage.h"

#include "QStringPrinter.h"
#include <gtest/gtest.h>

#include <functional>
#include <map>

using reportengine::PreparedPage;
using reports::FillReport;
using reports::ReportTemplates;
using workflow::Control;
using workflow::Inputs;
using workflow::ShownResult;

namespace {

const reportengine::PrepareContext russian{QDate(2024, 3, 5), QLocale(QLocale::Russian)};

struct Case {
    const char* title;
    int method;
    std::function<void(Inputs&)> window;
    const char* result;               // the thickness computed from these inputs; nullptr for none
    std::map<QString, QString> texts; // box -> printed text
    std::vector<QString> hidden;
};

// A pipe of 108 mm in the open air under metal, the window's start-up choices.
void Pipe(Inputs&) {}

// A plane indoors under a non-metal covering.
void Plane(Inputs& in) {
    in.Choice(Control::RzRadioGroup1) = 1;
    in.Choice(Control::RzRadioGroup2) = 1;
    in.Choice(Control::RzRadioGroup3) = 1;
    in.materialValue = "6"; // "Мат ламельный ЗОРБАЛИТ"
}

// The record of a calculation of `method` on `inputs` that showed `thickness` (and, for the
// norm-flux kind, wrote the norm the field holds).
ShownResult Computed(int method, const Inputs& inputs, const char* thickness) {
    ShownResult shown;
    shown.KindChosen(method);
    if (thickness == nullptr) return shown;
    std::vector<workflow::Effect> effects{workflow::SetResult{thickness}};
    if (method == 0)
        effects.push_back(
            workflow::SetField{Control::RzNumericEdit3, inputs.Field(Control::RzNumericEdit3)});
    shown.Calculated(method, inputs, effects);
    return shown;
}

PreparedPage Report(ReportTemplates& templates, int method, const Inputs& inputs,
                    const ShownResult& shown) {
    const reportengine::Template* report = FillReport(templates, method, inputs, shown);
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

TEST(FillReport, PrintsTheSnapshotAndTheResultComputedFromItForEveryKind) {
    // clang-format off
    const Case cases[] = {
        {"norm density, pipe", 0,
         [](Inputs& s) { Pipe(s); s.Field(Control::RzNumericEdit1) = 20; s.Field(Control::RzNumericEdit2) = 150;
                         s.Field(Control::RzNumericEdit3) = 52.12345; s.Choice(Control::RzComboBox5) = 3;
                         s.Choice(Control::RzRadioGroup4) = 1; }, "40,0",
         {{"Memo10", "Труба"}, {"Memo11", "Открытый воздух"}, {"Memo12", "Цилиндр ЗОРБАЛИТ - 80"},
          {"Memo25", "Металл"}, {"Memo24", "Район прокладки трубопровода"}, {"Memo29", "Урал"},
          {"Memo26", "Диаметр трубы, мм"},
          {"Memo27", "108"}, {"Memo1", "150"}, {"Memo18", "20"}, {"Memo17", "Норма тепловых потерь, Вт/м"},
          {"Memo19", "52,123"}, {"Memo31", "Свыше 5000 в год"}, {"Memo22", "40,0"}, {"Date", "05.03.2024"},
          {"Memo21", "Принятая толщина тепловой изоляции, мм"}},
         {"NoResult"}},
        // The covering and the place each from its own choice: open air under a non-metal one.
        {"norm density, open air, non-metal covering", 0,
         [](Inputs& s) { Pipe(s); s.Choice(Control::RzRadioGroup3) = 1; }, nullptr,
         {{"Memo11", "Открытый воздух"}, {"Memo25", "Не металл"}}, {}},
        {"surface temperature, open air, non-metal covering", 1,
         [](Inputs& s) { Pipe(s); s.Choice(Control::RzRadioGroup3) = 1; }, nullptr,
         {{"Memo11", "Открытый воздух"}, {"Memo23", "Не металл"}}, {}},
        {"condensation, open air, non-metal covering", 2,
         [](Inputs& s) { Pipe(s); s.Choice(Control::RzRadioGroup3) = 1; }, nullptr,
         {{"Memo11", "Открытый воздух"}, {"Memo23", "Не металл"}}, {}},
        {"norm density, plane, before any calculation", 0,
         [](Inputs& s) { Plane(s); s.Field(Control::RzNumericEdit1) = -5; s.Field(Control::RzNumericEdit2) = 90;
                         s.Field(Control::RzNumericEdit3) = 35.5; s.Choice(Control::RzComboBox5) = 5; }, nullptr,
         {{"Memo10", "Плоскость"}, {"Memo11", "Помещение"}, {"Memo12", "Мат ламельный ЗОРБАЛИТ"},
          {"Memo25", "Не металл"}, {"Memo24", "Район расположения"}, {"Memo29", "Крайний Север"},
          {"Memo1", "90"}, {"Memo18", "-5"},
          {"Memo17", "Норма тепловых потерь, Вт/м²"}, {"Memo19", "—"}, {"Memo31", "Не более 5000 в год"},
          {"Memo22", "—"}, {"NoResult", "Расчёт для приведённых исходных данных не выполнен"}},
         {"Memo26", "Memo27"}},
        {"surface temperature, pipe", 1,
         [](Inputs& s) { Pipe(s); s.Choice(Control::RzComboBox3) = 21; s.Field(Control::RzNumericEdit6) = 20;
                         s.Field(Control::RzNumericEdit7) = 150; s.Field(Control::RzNumericEdit8) = 45; }, "30,0",
         {{"Memo10", "Труба"}, {"Memo11", "Открытый воздух"}, {"Memo12", "Цилиндр ЗОРБАЛИТ - 80"},
          {"Memo23", "Металл"}, {"Memo24", "Диаметр трубы, мм"}, {"Memo25", "1020"},
          {"Memo1", "150"}, {"Memo18", "20"}, {"Memo19", "45"}, {"Memo22", "30,0"}},
         {"NoResult"}},
        {"surface temperature, plane", 1,
         [](Inputs& s) { Plane(s); s.Field(Control::RzNumericEdit6) = 25; s.Field(Control::RzNumericEdit7) = 300;
                         s.Field(Control::RzNumericEdit8) = 40; }, "120,0",
         {{"Memo10", "Плоскость"}, {"Memo11", "Помещение"}, {"Memo23", "Не металл"},
          {"Memo1", "300"}, {"Memo18", "25"}, {"Memo19", "40"}, {"Memo22", "120,0"}},
         {"Memo24", "Memo25"}},
        {"condensation, pipe", 2,
         [](Inputs& s) { Pipe(s); s.Choice(Control::RzComboBox3) = 0; s.Field(Control::RzNumericEdit11) = 20;
                         s.Field(Control::RzNumericEdit12) = 5; s.Field(Control::RzNumericEdit13) = 70; }, "10,0",
         {{"Memo10", "Труба"}, {"Memo11", "Открытый воздух"}, {"Memo23", "Металл"},
          {"Memo25", "18"}, {"Memo1", "5"}, {"Memo18", "20"}, {"Memo19", "70"}, {"Memo22", "10,0"}},
         {}},
        {"condensation, plane", 2,
         [](Inputs& s) { Plane(s); s.Field(Control::RzNumericEdit11) = 30; s.Field(Control::RzNumericEdit12) = -10;
                         s.Field(Control::RzNumericEdit13) = 50; }, nullptr,
         {{"Memo10", "Плоскость"}, {"Memo11", "Помещение"}, {"Memo12", "Мат ламельный ЗОРБАЛИТ"},
          {"Memo23", "Не металл"}, {"Memo1", "-10"}, {"Memo18", "30"}, {"Memo19", "50"}, {"Memo22", "—"}},
         {"Memo24", "Memo25"}},
        // The hidden choices of the common panel do not reach the fixed texts of kinds 3 and 4.
        {"two-pipe channel", 3,
         [](Inputs& s) { Plane(s); s.materialValue = "5"; s.Choice(Control::RzComboBox3) = 11;
                         s.Field(Control::RzNumericEdit17) = 1.8; s.Field(Control::RzNumericEdit21) = 0.5;
                         s.Choice(Control::RzComboBox4) = 2; }, "70,0",
         {{"Memo10", "Труба подающая и обратная"}, {"Memo11", "В непроходном канале"},
          {"Memo12", "Цилиндр ЗОРБАЛИТ - 100"}, {"Memo25", "Не металлическое"},
          {"Memo26", "5"}, {"Memo1", "1,8"}, {"Memo31", "110"}, {"Memo33", "50"}, {"Memo27", "2"},
          {"Memo18", "0,5"}, {"Memo19", "1"}, {"Memo28", "Диаметр трубы, мм"}, {"dt", "273"},
          {"Memo24", "Теплопроводность грунта, Вт/(м·°С)"}, {"Memo35", "Не более 5000 в год"},
          {"Memo22", "70,0"}},
         {}},
        {"freezing", 4,
         [](Inputs& s) { Plane(s); s.materialValue = "2"; s.Choice(Control::RzComboBox2) = 1; }, "1,2346E+05",
         {{"Memo10", "Труба"}, {"Memo11", "На открытом воздухе"}, {"Memo23", "Металл"},
          {"Memo12", "Мат прошивной  ГОСТ M1-75   и его модификации"}, {"Memo1", "108"},
          {"Memo18", "5"}, {"Memo19", "18"}, {"Memo25", "-40"}, {"Memo27", "24"},
          {"Memo29", "Для стальных трубопроводов на подвижных опорах, 150 мм и более"},
          {"Memo22", "1,2346E+05"}},
         {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        ReportTemplates templates;
        Inputs inputs;
        c.window(inputs);
        ExpectPage(Report(templates, c.method, inputs, Computed(c.method, inputs, c.result)), c);
    }
}

TEST(FillReport, AThicknessIsNeverPrintedBesideInputsItWasNotComputedFrom) {
    ReportTemplates templates;
    Inputs inputs;
    inputs.Field(Control::RzNumericEdit7) = 150;
    const ShownResult shown = Computed(1, inputs, "30,0");
    // An input the kind reads changes after the calculation.
    inputs.Field(Control::RzNumericEdit7) = 200;
    const PreparedPage stale = Report(templates, 1, inputs, shown);
    EXPECT_EQ(stale.Find(QStringLiteral("Memo1"))->text, QStringLiteral("200"));
    EXPECT_EQ(stale.Find(QStringLiteral("Memo22"))->text, QStringLiteral("—"));
    ASSERT_NE(stale.Find(QStringLiteral("NoResult")), nullptr);
    // Back to what was computed: the thickness belongs again.
    inputs.Field(Control::RzNumericEdit7) = 150;
    const PreparedPage current = Report(templates, 1, inputs, shown);
    EXPECT_EQ(current.Find(QStringLiteral("Memo22"))->text, QStringLiteral("30,0"));
    EXPECT_EQ(current.Find(QStringLiteral("NoResult")), nullptr);
}

TEST(FillReport, OtherKindsDoNothing) {
    ReportTemplates templates;
    const Inputs inputs;
    for (int kind : {-3, -1, 5, 6})
        EXPECT_EQ(FillReport(templates, kind, inputs, ShownResult{}), nullptr);
    for (const auto& report : templates.byKind)
        for (const auto& variable : report.variables)
            EXPECT_TRUE(std::holds_alternative<std::monostate>(variable.value));
}

TEST(FillReport, EveryReportSetsTheDiameterRowAgain) {
    ReportTemplates templates;
    Inputs plane;
    Plane(plane);
    const Inputs pipe;
    EXPECT_EQ(Report(templates, 1, plane, ShownResult{}).Find(QStringLiteral("Memo25")), nullptr);
    const PreparedPage again = Report(templates, 1, pipe, ShownResult{});
    ASSERT_NE(again.Find(QStringLiteral("Memo25")), nullptr);
    EXPECT_EQ(again.Find(QStringLiteral("Memo25"))->text, QStringLiteral("108"));
    EXPECT_EQ(again.Find(QStringLiteral("Memo10"))->text, QStringLiteral("Труба"));
    // So is the region's label of a norm-flux report, which words a plane's apart.
    EXPECT_EQ(Report(templates, 0, plane, ShownResult{}).Find(QStringLiteral("Memo24"))->text,
              QStringLiteral("Район расположения"));
    EXPECT_EQ(Report(templates, 0, pipe, ShownResult{}).Find(QStringLiteral("Memo24"))->text,
              QStringLiteral("Район прокладки трубопровода"));
}

TEST(FillReport, TheTemplateKeepsTheLastValuesOfItsKind) {
    ReportTemplates templates;
    Inputs inputs;
    inputs.Field(Control::RzNumericEdit7) = 150;
    FillReport(templates, 1, inputs, Computed(1, inputs, "30,0"));
    // Another kind's report leaves this template alone.
    FillReport(templates, 0, Inputs{}, ShownResult{});
    const PreparedPage page = reportengine::PreparePage(*templates.ForKind(1), russian);
    EXPECT_EQ(page.Find(QStringLiteral("Memo1"))->text, QStringLiteral("150"));
    EXPECT_EQ(page.Find(QStringLiteral("Memo22"))->text, QStringLiteral("30,0"));
}

TEST(FillReport, FieldsPrintAsTheWindowShowsThem) {
    ReportTemplates templates;
    Inputs inputs;
    inputs.Field(Control::RzNumericEdit3) = 12.34567; // shown with at most three decimals
    inputs.Field(Control::RzNumericEdit21) = 0.1 * 3; // 0.30000000000000004
    inputs.Field(Control::RzNumericEdit17) = 0.0125;  // shown as 0,013
    inputs.Choice(Control::RzComboBox3) = -1;         // no row chosen: nothing to print
    EXPECT_EQ(Report(templates, 0, inputs, Computed(0, inputs, "10,0"))
                  .Find(QStringLiteral("Memo19"))
                  ->text,
              QStringLiteral("12,346"));
    const PreparedPage channel = Report(templates, 3, inputs, ShownResult{});
    EXPECT_EQ(channel.Find(QStringLiteral("Memo18"))->text, QStringLiteral("0,3"));
    EXPECT_EQ(channel.Find(QStringLiteral("Memo1"))->text, QStringLiteral("0,013"));
    EXPECT_EQ(channel.Find(QStringLiteral("dt"))->text, QString());
}

// A value runs on to the printable edge, so the catalogue's names stand on one line; a
// longer text wraps there with no word lost, and the rows below move down.
TEST(FillReport, AValueTakesThePagesWidthAndALongerOneWrapsWithNoWordLost) {
    ReportTemplates templates;
    const Inputs inputs;
    reportengine::Template* report = FillReport(templates, 0, inputs, ShownResult{});
    ASSERT_NE(report, nullptr);
    const PreparedPage page = reportengine::PreparePage(*report, russian);
    for (const char* box : {"Memo11", "Memo12"}) { // "Открытый воздух", "Цилиндр ЗОРБАЛИТ - 80"
        const auto* prepared = page.Find(QLatin1String(box));
        ASSERT_NE(prepared, nullptr);
        EXPECT_EQ(prepared->lines.size(), 1u) << box;
        EXPECT_NEAR(prepared->geometry.right(), reporttemplate::MmToUnits(205), 1e-6) << box;
    }

    report->SetValue(report->IndexOf("mat"),
                     std::string("'Мат прошивной  ГОСТ М1-100 и его модификации, в обкладке "
                                 "из металлической сетки с одной стороны, марки 100.'"));
    const PreparedPage wrapped = reportengine::PreparePage(*report, russian);
    const auto* material = wrapped.Find(QStringLiteral("Memo12"));
    ASSERT_NE(material, nullptr);
    QStringList printed;
    for (const auto& line : material->lines)
        printed << line.text;
    EXPECT_EQ(printed.join(QLatin1Char(' ')).simplified(), material->text.simplified());
    EXPECT_GT(material->lines.size(), 1u);
    // The rows below the wrapped one moved down; the label beside it did not.
    const auto* covering = wrapped.Find(QStringLiteral("Memo13"));
    ASSERT_NE(covering, nullptr);
    EXPECT_GT(covering->geometry.top(), reporttemplate::MmToUnits(73) + 1);
    EXPECT_NEAR(wrapped.Find(QStringLiteral("Memo9"))->geometry.top(),
                reporttemplate::MmToUnits(66), 1e-6);
}

TEST(ReportTitle, NamesTheKindAndTheDay) {
    EXPECT_EQ(
        reports::ReportTitle(1, QDate(2026, 12, 10)),
        QStringLiteral("Толщина изоляции — по заданной температуре поверхности — 2026-12-10"));
    ReportTemplates templates;
    const auto* report = FillReport(templates, 3, Inputs{}, ShownResult{}, QDate(2026, 1, 2));
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->title, "Толщина изоляции — двухтрубная канальная прокладка — 2026-01-02");
}
