#include "Schedule.h"

#include "CalcKinds.h"
#include "CalculateCommand.h"
#include "ScheduleColumns.h"
#include "ScheduleJson.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace workflow;

namespace {

// Inputs on which each kind succeeds, as a user would type them.
Inputs Succeeding(int method) {
    Inputs in;
    const std::map<int, std::map<Control, double>> typed = {
        {0, {{Control::RzNumericEdit1, 5}, {Control::RzNumericEdit2, 150}}},
        {1,
         {{Control::RzNumericEdit6, 20},
          {Control::RzNumericEdit7, 250},
          {Control::RzNumericEdit8, 45}}},
        {2,
         {{Control::RzNumericEdit11, 20},
          {Control::RzNumericEdit12, 5},
          {Control::RzNumericEdit13, 80}}},
        {3, {}},
        {4, {{Control::RzNumericEdit27, 12}}},
    };
    for (const auto& [control, value] : typed.at(method))
        in.Field(control) = value;
    in.Choice(Control::RzComboBox3) = 9; // 159 mm
    return in;
}

struct Calculated {
    Inputs inputs;
    ShownResult shown;
    T_calc engine;
};

void Calculate(Calculated& c, int method) {
    c.shown.KindChosen(method);
    c.shown.Calculated(method, c.inputs, Calculate(method, c.inputs, c.engine, ","));
}

// Every kind's row keeps what it was calculated from: the window filled from the row
// calculates the same thickness again.
TEST(Schedule, ARowOfEveryKindFillsTheWindowAgain) {
    for (const CalcKind& kind : CalcKinds()) {
        const int method = int(&kind - CalcKinds().data());
        SCOPED_TRACE(std::string(kind.caption));
        Calculated c{Succeeding(method), {}, {}};
        Calculate(c, method);
        const RowOrReason made =
            RowFromCalculation(method, c.inputs, c.shown, "2026-12-10T16:20:05", ",");
        ASSERT_TRUE(made.row) << made.reason;
        const ScheduleRow& row = *made.row;
        EXPECT_EQ(row.kind, method);
        EXPECT_EQ(row.object, "Труба 159 мм");
        EXPECT_EQ(row.material, "Цилиндр ЗОРБАЛИТ - 80");
        EXPECT_EQ(row.calculatedAt, "2026-12-10T16:20:05");
        EXPECT_EQ(row.acceptedMm, c.shown.CurrentCheck(c.inputs)->acceptedMm);
        EXPECT_NEAR(row.requiredMm, row.acceptedMm, 7.0); // rounded by at most 7 mm up, 3 down
        EXPECT_FALSE(row.checkFigures.empty());
        EXPECT_EQ(row.inputs.size() + 1, kind.reads.size()); // all but the material

        const Inputs again = InputsOfRow(row);
        EXPECT_TRUE(SameInputsOfKind(method, again, c.inputs));
        Calculated d{again, {}, {}};
        Calculate(d, method);
        EXPECT_EQ(d.shown.Text(), c.shown.Text());
    }
}

TEST(Schedule, WhereEachRowTakesItsPlaceTexts) {
    Calculated c{Succeeding(1), {}, {}};
    c.inputs.Choice(Control::RzComboBox3) = 7; // 108 mm: 52 mm, rounded down within the allowance
    Calculate(c, 1);
    const ScheduleRow row = *RowFromCalculation(1, c.inputs, c.shown, "", ",").row;
    EXPECT_EQ(row.location, "На открытом воздухе");
    EXPECT_EQ(row.covering, "Металл");
    EXPECT_EQ(InputsText(row), "Температура воздуха (°C): 20; Температура теплоносителя (°C): 250; "
                               "Температура на поверхности (°C): 45");
    EXPECT_EQ(row.checkState, CheckState::WithinAllowance);
    EXPECT_EQ(CheckVerdictOf(row),
              "в пределах допуска 3 мм (СП 61.13330.2012, п. 6.12); с запасом — 60 мм");

    Calculated channel{Succeeding(3), {}, {}};
    Calculate(channel, 3);
    const ScheduleRow inChannel =
        *RowFromCalculation(3, channel.inputs, channel.shown, "", ",").row;
    EXPECT_EQ(inChannel.location, "В непроходном канале");
    EXPECT_EQ(inChannel.covering, "Не металлическое");
    EXPECT_NE(InputsText(inChannel).find("Высота (м): 1; Ширина (м): 1"), std::string::npos)
        << InputsText(inChannel);
}

// The warning box shown before a thickness stays with the row; the next calculation
// without one clears it.
TEST(Schedule, ARowKeepsTheWarningShownWithItsThickness) {
    Calculated c{Succeeding(4), {}, {}};
    c.inputs.Field(Control::RzNumericEdit25) = -40;
    c.inputs.Field(Control::RzNumericEdit28) = 100;
    c.inputs.Field(Control::RzNumericEdit27) = 10;
    c.inputs.Choice(Control::RzComboBox3) = 7; // 108 mm
    Calculate(c, 4);
    EXPECT_EQ(RowFromCalculation(4, c.inputs, c.shown, "", ",").row->warning,
              "При заданных условиях слишком большая толщина теплоизоляции");
    c.inputs = Succeeding(4);
    Calculate(c, 4);
    EXPECT_EQ(RowFromCalculation(4, c.inputs, c.shown, "", ",").row->warning, "");
}

// A list's row is named in the file by its position: a row that a former wording of the
// list wrote with its text keeps that text and its row, and comes back byte for byte; one
// written without a text reads the list's row at its position.
TEST(Schedule, AFileNamesAListsRowByItsPositionWhateverItsWordingWas) {
    Calculated c{Succeeding(4), {}, {}};
    c.inputs.Choice(Control::RzComboBox2) = 0;
    Calculate(c, 4);
    const std::string file =
        ScheduleJson(Schedule({*RowFromCalculation(4, c.inputs, c.shown, "", ",").row}));
    const std::string written = R"({"control": "RzComboBox2", "value": 0})";
    const std::size_t at = file.find(written);
    ASSERT_NE(at, std::string::npos) << file;
    const Schedule today = ParseScheduleJson(file).schedule;
    ASSERT_EQ(today.Size(), 1u);
    EXPECT_EQ(today.Rows()[0].inputs.back().text,
              "Для стальных трубопроводов на подвижных опорах, до 150 мм");

    const std::string former = std::string(file).replace(
        at, written.size(),
        R"({"control": "RzComboBox2", "text": "Для стальных )"
        R"(трубопроводов на подвижных опорах, до 150 мм: ", "value": 0})");
    const Schedule older = ParseScheduleJson(former).schedule;
    ASSERT_EQ(older.Size(), 1u);
    EXPECT_EQ(older.Rows()[0].inputs.back().text,
              "Для стальных трубопроводов на подвижных опорах, до 150 мм: ");
    EXPECT_EQ(InputsOfRow(older.Rows()[0]).Choice(Control::RzComboBox2), 0);
    EXPECT_EQ(ScheduleJson(older), former);
}

TEST(Schedule, OnlyASuccessfulCurrentCalculationBecomesARow) {
    Calculated c{Succeeding(1), {}, {}};
    c.shown.KindChosen(1);
    EXPECT_EQ(RowFromCalculation(-1, c.inputs, c.shown, "", ",").reason, "Выберите вид расчёта");
    const std::string nothing = RowFromCalculation(1, c.inputs, c.shown, "", ",").reason;
    EXPECT_NE(nothing.find("нажмите «Рассчитать»"), std::string::npos);

    Calculate(c, 1);
    Inputs changed = c.inputs;
    changed.Field(Control::RzNumericEdit7) = 260;
    EXPECT_EQ(RowFromCalculation(1, changed, c.shown, "", ",").reason, StaleResultHint);

    // A rejected calculation leaves its predecessor's thickness but no check: no row.
    Inputs rejected = c.inputs;
    rejected.Field(Control::RzNumericEdit8) = 20;
    c.shown.Calculated(1, rejected, Calculate(1, rejected, c.engine, ","));
    EXPECT_EQ(RowFromCalculation(1, c.inputs, c.shown, "", ",").reason, nothing);
}

} // namespace

// A column added to the table must still leave the printed table the sheet's width, and the
// file and the CSV table one key and one heading for it.
TEST(ScheduleColumns, FillThePrintedWidthWithUniqueKeysAndHeadings) {
    double percent = 0;
    for (const ViewColumn& column : ViewColumns(&ScheduleColumn::printed))
        percent += column.printPercent;
    EXPECT_DOUBLE_EQ(percent, 100);
    std::set<std::string_view> keys, headings;
    for (const ScheduleColumn& column : ScheduleColumns()) {
        EXPECT_TRUE(column.key.empty() || keys.insert(column.key).second) << column.key;
        EXPECT_TRUE(column.heading.empty() || headings.insert(column.heading).second)
            << column.heading;
    }
    EXPECT_EQ(LowerFirst("Не металл"), "не металл");
    EXPECT_EQ(LowerFirst("Ёмкость"), "ёмкость");
    EXPECT_EQ(LowerFirst("Металл"), "металл");
}
