#include "CalculateCommand.h"
#include "CalcKinds.h"
#include "EffectPrinting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

using namespace workflow;

namespace {

using Effects = std::vector<Effect>;
using Typing = std::function<void(Inputs&)>;

ShowMessage Box(const char* text, std::string_view caption) {
    return {text, std::string(caption)};
}
ShowMessage InputError(const char* text) {
    return Box(text, InputErrorCaption);
}
SetField Norm(double value) {
    return {Control::RzNumericEdit3, value};
}
SetResult Result(const char* text) {
    return {text};
}
MoveFocus Focus(Control field) {
    return {field};
}

// The check at the accepted thickness that follows a result is tested on its own.
Effects WithoutCheck(Effects effects) {
    std::erase_if(effects, [](const Effect& e) { return std::holds_alternative<ShowCheck>(e); });
    return effects;
}

// Runs one calculate command on a fresh engine, as after choosing the kind.
Effects RunOnce(int method, const Typing& setup, std::string_view separator = ",") {
    Inputs in;
    setup(in);
    T_calc engine;
    return WithoutCheck(Calculate(method, in, engine, separator));
}

// The fields of a kind's page, set by name.
Typing Fields(std::map<Control, double> values, std::map<Control, int> choices = {}) {
    return [=](Inputs& in) {
        for (const auto& [name, value] : values)
            in.Field(name) = value;
        for (const auto& [name, row] : choices)
            in.Choice(name) = row;
    };
}

struct StatusCase {
    const char* name;
    int method;
    Typing setup;
    Effects expected;
};

void PrintTo(const StatusCase& c, std::ostream* os) {
    *os << c.name;
}

class EveryStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(EveryStatus, ProducesItsEffectsInOrder) {
    const StatusCase& c = GetParam();
    EXPECT_EQ(RunOnce(c.method, c.setup), c.expected);
}

// Every thickness shown is followed by its check, and nothing else is; a thickness beyond
// the largest figure is no accepted thickness.
TEST_P(EveryStatus, ChecksTheThicknessItShows) {
    const StatusCase& c = GetParam();
    Inputs in;
    c.setup(in);
    T_calc engine;
    const Effects effects = Calculate(c.method, in, engine, ",");
    auto accepted = [&](size_t i) {
        const auto* result = std::get_if<SetResult>(&effects[i]);
        return result && result->text != BeyondLargestThickness;
    };
    for (size_t i = 0; i < effects.size(); ++i) {
        EXPECT_EQ(std::holds_alternative<ShowCheck>(effects[i]), i > 0 && accepted(i - 1));
        if (accepted(i)) {
            ASSERT_LT(i + 1, effects.size());
        }
    }
}

const char* const NoHeatLoss = "При заданных условиях теплопотери исключены";
const char* const AirBelow273 = "Температура воздуха ниже -273 °С";
const SetField Humidity50{Control::RzNumericEdit13, 50};

// clang-format off
INSTANTIATE_TEST_SUITE_P(NormFlux, EveryStatus, testing::Values(
    StatusCase{"success_108mm", 0, Fields({{Control::RzNumericEdit1, 5}, {Control::RzNumericEdit2, 150}}),
               {Norm(57), Result("50,0")}},
    StatusCase{"s1_air_below_273", 0, Fields({{Control::RzNumericEdit1, -300}, {Control::RzNumericEdit2, 150}}),
               {InputError("Температура не может быть меньше -273°С")}},
    StatusCase{"s4_air_warmer", 0, Fields({{Control::RzNumericEdit1, 30}, {Control::RzNumericEdit2, 20}}),
               {InputError(NoHeatLoss)}},
    StatusCase{"s5_equal", 0, Fields({{Control::RzNumericEdit1, 20}, {Control::RzNumericEdit2, 20}}),
               {InputError(NoHeatLoss)}},
    StatusCase{"s6_cold_carrier_hot_air", 0, Fields({{Control::RzNumericEdit1, 100}, {Control::RzNumericEdit2, -10}}),
               {Box("Трубопровод с холодным теплоносителем работает при высоких температурах, возможен некорректный результат",
                    WarningCaption),
                Norm(7), Result("2290,0")}},
    StatusCase{"s7_above_material_limit", 0,
               [](Inputs& in) { Fields({{Control::RzNumericEdit1, 5}, {Control::RzNumericEdit2, 300}})(in); in.materialValue = "6"; },
               {Norm(116), InputError("Температура превышает допустимую для материала «Мат ламельный ЗОРБАЛИТ» — не выше 250 °С")}},
    StatusCase{"s8_below_lower_limit", 0, Fields({{Control::RzNumericEdit1, 20}, {Control::RzNumericEdit2, -200}}),
               {Norm(23), InputError("Температура ниже допустимой")}},
    StatusCase{"s9_cold_18mm", 0, Fields({{Control::RzNumericEdit2, -10}}, {{Control::RzComboBox3, 0}}),
               {InputError("Для холодных трубопроводов предусмотрены трубы с условным проходом от 20 мм")}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(SurfaceTemp, EveryStatus, testing::Values(
    StatusCase{"success_road", 1, Fields({{Control::RzNumericEdit6, 20}, {Control::RzNumericEdit7, 150}, {Control::RzNumericEdit8, 45}}),
               {Result("30,0")}},
    StatusCase{"s2_not_needed", 1, Fields({{Control::RzNumericEdit6, 20}, {Control::RzNumericEdit7, 150}, {Control::RzNumericEdit8, 160}}),
               {InputError("При данном перепаде температур теплоизоляция не нужна")}},
    StatusCase{"s3_unreachable", 1, Fields({{Control::RzNumericEdit6, 20}, {Control::RzNumericEdit7, 150}, {Control::RzNumericEdit8, 10}}),
               {InputError("Температура на поверхности недостижима")}},
    StatusCase{"s4_surface_is_air", 1, Fields({{Control::RzNumericEdit6, 20}, {Control::RzNumericEdit7, 100}, {Control::RzNumericEdit8, 20}}),
               {InputError("Температура на поверхности равна температуре воздуха")}},
    StatusCase{"s5_above_limit", 1, Fields({{Control::RzNumericEdit6, 20}, {Control::RzNumericEdit7, 700}, {Control::RzNumericEdit8, 45}}),
               {InputError("Температура превышает допустимую для материала «Цилиндр ЗОРБАЛИТ - 80» — не выше 650 °С")}},
    // The box names the material of this call, not the default one, with its own blanks.
    StatusCase{"s5_above_limit_of_the_chosen_mat", 1,
               [](Inputs& in) { Fields({{Control::RzNumericEdit6, 20}, {Control::RzNumericEdit7, 701}, {Control::RzNumericEdit8, 45}})(in); in.materialValue = "2"; },
               {InputError("Температура превышает допустимую для материала «Мат прошивной  ГОСТ M1-75   и его модификации» — не выше 700 °С")}},
    StatusCase{"s6_below_limit", 1, Fields({{Control::RzNumericEdit6, 20}, {Control::RzNumericEdit7, -200}, {Control::RzNumericEdit8, -100}}),
               {InputError("Температура ниже допустимой")}},
    StatusCase{"s8_air_below_273", 1, Fields({{Control::RzNumericEdit6, -300}, {Control::RzNumericEdit7, 150}, {Control::RzNumericEdit8, 45}}),
               {InputError(AirBelow273)}},
    // Status 8 outranks status 2: the surface above both would need no insulation.
    StatusCase{"s8_outranks_s2", 1, Fields({{Control::RzNumericEdit6, -300}, {Control::RzNumericEdit7, 150}, {Control::RzNumericEdit8, 160}}),
               {InputError(AirBelow273)}}),
    [](const auto& info) { return std::string(info.param.name); });

// The humidity field shows 0 until the user has been in it; the command raises it first.
INSTANTIATE_TEST_SUITE_P(Condensation, EveryStatus, testing::Values(
    StatusCase{"success", 2, Fields({{Control::RzNumericEdit11, 20}, {Control::RzNumericEdit12, 5}, {Control::RzNumericEdit13, 60}}),
               {Result("10,0")}},
    // The covering is read from its own group: metal gives off less heat, so more is needed.
    StatusCase{"success_metal_covering", 2,
               Fields({{Control::RzNumericEdit11, 20}, {Control::RzNumericEdit12, 0}, {Control::RzNumericEdit13, 80}},
                      {{Control::RzRadioGroup3, 0}}),
               {Result("30,0")}},
    StatusCase{"success_non_metal_covering", 2,
               Fields({{Control::RzNumericEdit11, 20}, {Control::RzNumericEdit12, 0}, {Control::RzNumericEdit13, 80}},
                      {{Control::RzRadioGroup3, 1}}),
               {Result("20,0")}},
    StatusCase{"success_raised_humidity", 2, Fields({{Control::RzNumericEdit11, 20}, {Control::RzNumericEdit12, 15}}),
               {Humidity50, Result("0,0")}},
    StatusCase{"s1_air_out_of_range", 2, Fields({{Control::RzNumericEdit11, 51}, {Control::RzNumericEdit12, 5}}),
               {Humidity50, InputError("Диапазон температур предусмотрен от -40 до 50 °С"), Focus(Control::RzNumericEdit11)}},
    StatusCase{"s2_no_condensation", 2, Fields({{Control::RzNumericEdit11, 20}, {Control::RzNumericEdit12, 20}, {Control::RzNumericEdit13, 70}}),
               {InputError("Конденсация в таких условиях невозможна")}},
    StatusCase{"s3_saturated_air", 2, Fields({{Control::RzNumericEdit11, 20}, {Control::RzNumericEdit12, 5}, {Control::RzNumericEdit13, 100}}),
               {InputError("Относительная влажность воздуха должна быть больше 0 и меньше 100 %"), Focus(Control::RzNumericEdit13)}},
    StatusCase{"s6_below_limit", 2, Fields({{Control::RzNumericEdit11, 20}, {Control::RzNumericEdit12, -200}}),
               {Humidity50, InputError("Температура ниже допустимой")}}),
    [](const auto& info) { return std::string(info.param.name); });

// The defaults of the page: supply 90 C, 1 m by 1 m channel 2 m deep, soil 5 C and 2 W/(m*K).
INSTANTIATE_TEST_SUITE_P(TwoPipeChannel, EveryStatus, testing::Values(
    StatusCase{"success_defaults", 3, Fields({}), {Result("50,0")}},
    StatusCase{"success_negative_shows_0", 3,
               Fields({{Control::RzNumericEdit16, 50}}, {{Control::RzComboBox3, 3}, {Control::RzComboBox4, 0}}), {Result("0,0")}},
    StatusCase{"s1_soil_conductivity_0", 3, Fields({{Control::RzNumericEdit17, 0}, {Control::RzNumericEdit21, 0}}),
               {InputError("Теплопроводность грунта не должна быть равна нулю"), Focus(Control::RzNumericEdit17)}},
    StatusCase{"s2_reaches_surface", 3, Fields({{Control::RzNumericEdit18, 0.4}}),
               {InputError("Канал выходит на поверхность"), Focus(Control::RzNumericEdit18)}},
    StatusCase{"s3_width_0", 3, Fields({{Control::RzNumericEdit22, 0}}),
               {InputError("Ширина канала не должна быть равна нулю"), Focus(Control::RzNumericEdit22)}},
    StatusCase{"s4_height_0", 3, Fields({{Control::RzNumericEdit21, 0}}),
               {InputError("Высота канала не должна быть равна нулю"), Focus(Control::RzNumericEdit21)}},
    // Each size that is too small is told once, with the smallest that holds the pipes.
    StatusCase{"s5_too_narrow", 3, Fields({{Control::RzNumericEdit22, 0.4}}),
               {Box("Ширина канала недостаточна: трубы в изоляции помещаются при ширине от 0,699 м", ChannelTooSmallCaption)}},
    StatusCase{"s5_too_low_and_narrow", 3, Fields({{Control::RzNumericEdit21, 0.3}, {Control::RzNumericEdit22, 0.3}}),
               {Box("Высота канала недостаточна: трубы в изоляции помещаются при высоте от 0,393 м", ChannelTooSmallCaption),
                Box("Ширина канала недостаточна: трубы в изоляции помещаются при ширине от 0,686 м", ChannelTooSmallCaption)}},
    // Warm soil leaves the 1020 mm pair bare: whole millimetres, none added for a bit.
    StatusCase{"s5_whole_millimetres", 3,
               Fields({{Control::RzNumericEdit16, 35}, {Control::RzNumericEdit21, 1.5}, {Control::RzNumericEdit22, 0.89}},
                      {{Control::RzComboBox3, 21}, {Control::RzComboBox4, 0}}),
               {Box("Ширина канала недостаточна: трубы в изоляции помещаются при ширине от 2,53 м", ChannelTooSmallCaption)}},
    StatusCase{"s6_too_low_box_once", 3, Fields({{Control::RzNumericEdit21, 0.3}, {Control::RzNumericEdit22, 5}}),
               {Box("Высота канала недостаточна: трубы в изоляции помещаются при высоте от 0,415 м", ChannelTooSmallCaption)}},
    StatusCase{"s7_soil_below_273", 3, Fields({{Control::RzNumericEdit16, -300}}),
               {Box(AirBelow273, WarningCaption), Focus(Control::RzNumericEdit16)}}),
    [](const auto& info) { return std::string(info.param.name); });

// The defaults of the page: air -40 C, wall 5 mm, water 18 C, 24 h, laid without a channel.
INSTANTIATE_TEST_SUITE_P(Freezing, EveryStatus, testing::Values(
    StatusCase{"success_defaults", 4, Fields({}), {Result("50,0")}},
    StatusCase{"s1_air_above_0", 4, Fields({{Control::RzNumericEdit25, 5}}),
               {InputError("При положительной температуре воздуха замерзание исключено"), Focus(Control::RzNumericEdit25)}},
    StatusCase{"s1_air_at_0", 4, Fields({{Control::RzNumericEdit25, 0}}),
               {InputError("При положительной температуре воздуха замерзание исключено"), Focus(Control::RzNumericEdit25)}},
    StatusCase{"s2_no_wall", 4, Fields({{Control::RzNumericEdit26, 0}}),
               {InputError("Укажите толщину стенки трубопровода"), Focus(Control::RzNumericEdit26)}},
    StatusCase{"s3_no_standstill", 4, Fields({{Control::RzNumericEdit28, 0}}),
               {InputError("Укажите время отсутствия движения"), Focus(Control::RzNumericEdit28)}},
    StatusCase{"s4_freezes_anyway", 4, Fields({{Control::RzNumericEdit28, 1}}, {{Control::RzComboBox3, 21}}),
               {InputError("Заданы невыполнимые условия расчёта, возможно слишком малое время отсутствия движения"),
                Focus(Control::RzNumericEdit28)}},
    StatusCase{"s5_very_thick", 4, Fields({{Control::RzNumericEdit28, 12}}, {{Control::RzComboBox3, 2}}),
               {Box("При заданных условиях слишком большая толщина теплоизоляции", WarningCaption), Result("1380,0")}},
    StatusCase{"s5_scientific", 4, Fields({{Control::RzNumericEdit28, 24}}, {{Control::RzComboBox3, 2}}),
               {Box("При заданных условиях слишком большая толщина теплоизоляции", WarningCaption), Result("1,2334E+05")}},
    StatusCase{"s6_water_below_0_silent", 4, Fields({{Control::RzNumericEdit27, -5}}), {Result("240,0")}},
    StatusCase{"s7_air_below_273", 4, Fields({{Control::RzNumericEdit25, -300}}),
               {Box(AirBelow273, WarningCaption), Focus(Control::RzNumericEdit25)}},
    // The rounding saturates near 2^31 mm: no figure is shown for its clamp.
    StatusCase{"beyond_the_largest_figure", 4, Fields({{Control::RzNumericEdit27, 1}, {Control::RzNumericEdit28, 1000}}),
               {Box("При заданных условиях слишком большая толщина теплоизоляции", WarningCaption), Result("более 2·10⁹")}},
    // A wall of half the outer diameter leaves no bore; checked before the engine is asked.
    StatusCase{"wall_half_the_diameter", 4, Fields({{Control::RzNumericEdit26, 9}}, {{Control::RzComboBox3, 0}}),
               {InputError("Толщина стенки трубы должна быть меньше половины её наружного диаметра"),
                Focus(Control::RzNumericEdit26)}},
    StatusCase{"wall_just_below_half", 4, Fields({{Control::RzNumericEdit26, 8}}, {{Control::RzComboBox3, 0}}),
               {Box("При заданных условиях слишком большая толщина теплоизоляции", WarningCaption), Result("более 2·10⁹")}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Calculate, RoadOfOneCalculationUnderBothSeparators) {
    const Typing road = Fields({{Control::RzNumericEdit6, 20},
                                {Control::RzNumericEdit7, 150},
                                {Control::RzNumericEdit8, 45}});
    EXPECT_EQ(RunOnce(1, road, ","), Effects{Result("30,0")});
    EXPECT_EQ(RunOnce(1, road, "."), Effects{Result("30.0")});
}

TEST(Calculate, NoMethodPageDoesNothing) {
    for (int method : {-2, -1, 5, 6}) {
        T_calc engine;
        engine.AirTemp = 123;
        EXPECT_TRUE(Calculate(method, Inputs{}, engine, ",").empty());
        EXPECT_EQ(engine.AirTemp, 123);
    }
}

// Inputs the kind does not read must not change what it shows.
TEST(Calculate, ReadsOnlyTheInputsOfItsKind) {
    const std::map<int, Typing> successes = {
        {0, Fields({{Control::RzNumericEdit1, 5}, {Control::RzNumericEdit2, 150}})},
        {1, Fields({{Control::RzNumericEdit6, 20},
                    {Control::RzNumericEdit7, 150},
                    {Control::RzNumericEdit8, 45}})},
        {2, Fields({{Control::RzNumericEdit11, 20},
                    {Control::RzNumericEdit12, 5},
                    {Control::RzNumericEdit13, 60}})},
        {3, Fields({})},
        {4, Fields({})},
    };
    for (const auto& success : successes) {
        const int method = success.first;
        const Typing& setup = success.second;
        const Effects baseline = RunOnce(method, setup);
        const auto read = InputsReadBy(method);
        auto isRead = [&](Control control) {
            return std::find(read.begin(), read.end(), control) != read.end();
        };
        for (const ChoiceSpec& c : Choices()) {
            if (isRead(c.control)) continue;
            const Effects changed = RunOnce(method, [&](Inputs& in) {
                setup(in);
                in.Choice(c.control) = 1 - std::min(in.Choice(c.control), 1);
            });
            EXPECT_EQ(changed, baseline) << "method " << method << ", " << ObjectName(c.control);
        }
        for (const NumberFieldSpec& f : NumberFields()) {
            if (isRead(f.control)) continue;
            const Effects changed = RunOnce(method, [&](Inputs& in) {
                setup(in);
                in.Field(f.control) += 37;
            });
            EXPECT_EQ(changed, baseline) << "method " << method << ", " << ObjectName(f.control);
        }
    }
}

TEST(Calculate, MaterialIndexComesFromTheChosenRowsValue) {
    // The defaults of the freezing page; stitched mats are given 1.2 times the thickness.
    auto withMaterial = [&](std::optional<std::string> value) {
        return RunOnce(4, [&](Inputs& in) { in.materialValue = value; });
    };
    EXPECT_EQ(withMaterial("4"), Effects{Result("50,0")});
    EXPECT_EQ(withMaterial("0"), Effects{Result("60,0")});
    EXPECT_EQ(withMaterial(std::nullopt), withMaterial("0"));
    EXPECT_EQ(withMaterial("Цилиндр"), withMaterial("0"));
}

TEST(Calculate, WorkingHoursReachTheChannel) {
    Inputs in;
    T_calc engine;
    EXPECT_EQ(WithoutCheck(Calculate(3, in, engine, ",")), Effects{Result("50,0")});
    EXPECT_TRUE(engine.UpTo5000Hours);
    in.Choice(Control::RzRadioGroup4) = 1;
    EXPECT_EQ(WithoutCheck(Calculate(3, in, engine, ",")), Effects{Result("60,0")});
    EXPECT_FALSE(engine.UpTo5000Hours);
}

TEST(Calculate, EnginesOwnBoxComesBackAsAnEffectAndItsCallbackIsRestored) {
    Inputs in;
    in.Field(Control::RzNumericEdit21) = 0.3;
    in.Field(Control::RzNumericEdit22) = 5;
    T_calc engine;
    int windowBoxes = 0;
    engine.ShowMessageBox = [&](const std::string&, const std::string&) { ++windowBoxes; };

    const Effects effects = Calculate(3, in, engine, ",");
    ASSERT_EQ(effects.size(), 1u); // the engine's box, which the command does not repeat
    EXPECT_TRUE(std::get<ShowMessage>(effects[0]).text.starts_with(T_calc::ChannelTooLowText));
    EXPECT_EQ(windowBoxes, 0);
    engine.ShowMessageBox("after", "the command");
    EXPECT_EQ(windowBoxes, 1);
}

// The window's side of the effects: what it shows after a sequence of commands.
struct FakeWindow {
    Inputs inputs;
    T_calc engine;
    std::string result = "0";
    std::vector<std::string> boxes;

    void Press(int method) {
        for (const Effect& e : Calculate(method, inputs, engine, ",")) {
            if (auto* box = std::get_if<ShowMessage>(&e)) boxes.push_back(box->text);
            if (auto* set = std::get_if<SetField>(&e)) inputs.Field(set->field) = set->value;
            if (auto* shown = std::get_if<SetResult>(&e)) result = shown->text;
        }
    }
};

TEST(Calculate, RejectionLeavesThePreviousResultAndSuccessReplacesIt) {
    FakeWindow w;
    w.inputs.Field(Control::RzNumericEdit6) = 20;
    w.inputs.Field(Control::RzNumericEdit7) = 150;
    w.inputs.Field(Control::RzNumericEdit8) = 45;
    w.Press(1);
    EXPECT_EQ(w.result, "30,0");

    w.inputs.Field(Control::RzNumericEdit8) = 20;
    w.Press(1);
    EXPECT_EQ(w.result, "30,0");
    EXPECT_EQ(w.boxes.size(), 1u);

    w.inputs.Field(Control::RzNumericEdit8) = 60;
    w.Press(1);
    EXPECT_EQ(w.result, "20,0");
}

TEST(Calculate, NormDensityKeepsItsValueWhenTheEngineComputesNone) {
    FakeWindow w;
    w.inputs.Field(Control::RzNumericEdit1) = 5;
    w.inputs.Field(Control::RzNumericEdit2) = 150;
    w.Press(0);
    EXPECT_EQ(w.inputs.Field(Control::RzNumericEdit3), 57);

    w.inputs.Field(Control::RzNumericEdit2) = -10;
    w.inputs.Choice(Control::RzComboBox3) = 0;
    w.Press(0);
    EXPECT_EQ(w.inputs.Field(Control::RzNumericEdit3), 57);
    EXPECT_EQ(w.result, "50,0");
}

TEST(Calculate, RaisedHumidityPersistsAlsoWhenTheEngineRejects) {
    FakeWindow w;
    w.inputs.Field(Control::RzNumericEdit11) = 20;
    w.inputs.Field(Control::RzNumericEdit12) = 20; // no condensation: rejected
    w.Press(2);
    EXPECT_EQ(w.boxes, std::vector<std::string>{"Конденсация в таких условиях невозможна"});
    EXPECT_EQ(w.inputs.Field(Control::RzNumericEdit13), 50);
    EXPECT_EQ(w.engine.Humidity, 50);
}

TEST(FormatThickness, FixedUpTo99999AndScientificFrom100000) {
    struct Case {
        int32_t mm;
        const char* separator;
        const char* text;
    };
    // clang-format off
    const Case cases[] = {
        {0,          ",", "0,0"},
        {60,         ",", "60,0"},
        {60,         ".", "60.0"},
        {-10,        ",", "-10,0"},
        {99990,      ",", "99990,0"},   // no grouping
        {100000,     ",", "1,0000E+05"},
        {123456,     ".", "1.2346E+05"},
        {123445,     ",", "1,2345E+05"}, // the sixth digit below 5 rounds down
        {999995,     ",", "1,0000E+06"}, // rounding carries into the exponent
        {2147483640, ",", "2,1475E+09"}, // the engine's largest
        {-123456,    ",", "-1,2346E+05"},
        {1380,       "\u066B", "1380\u066B0"}, // a separator of more than one byte
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(FormatThickness(c.mm, c.separator), c.text) << c.mm;
}

// The line of the status strip: the accepted thickness, the figure of the requirement beside
// it, and whether it holds; a rounding down by up to 3 mm can leave it unmet.
TEST(Calculate, CheckAtTheAcceptedThickness) {
    struct Case {
        int method;
        Typing setup;
        std::string_view separator;
        const char* line;
    };
    const Typing surface200 = Fields({{Control::RzNumericEdit6, 20},
                                      {Control::RzNumericEdit7, 200},
                                      {Control::RzNumericEdit8, 45}});
    const Typing surface250 = Fields({{Control::RzNumericEdit6, 20},
                                      {Control::RzNumericEdit7, 250},
                                      {Control::RzNumericEdit8, 45}});
    const Case cases[] = {
        {1, surface200, ",",
         "Принято 40 мм: tпов = 44,0 °С (задана 45), q = 85,0 Вт/м — обеспечено"},
        {1, surface200, ".",
         "Принято 40 мм: tпов = 44.0 °С (задана 45), q = 85.0 Вт/м — обеспечено"},
        // 52 mm rounds down to 50, within the allowance.
        {1, surface250, ",",
         "Принято 50 мм: tпов = 46,1 °С (задана 45), q = 102,2 Вт/м — в пределах допуска 3 мм "
         "(СП 61.13330.2012, п. 6.12); с запасом — 60 мм"},
        {3, [](Inputs&) {}, ",",
         "Принято 50 мм: qпары = 48,4 Вт/м (норма 48,9), tк = 12,0 °С — обеспечено"},
        {4, [](Inputs&) {}, ",",
         "Принято 50 мм: время до замерзания = 23,4 ч (задано 24) — не обеспечено; требуется 60 "
         "мм"},
        {0, Fields({{Control::RzNumericEdit1, 5}, {Control::RzNumericEdit2, 150}}), ",",
         "Принято 50 мм: q = 56,9 Вт/м (норма 57,0 × K 1,00 = 57,0), tпов = 8,0 °С — обеспечено"},
        {2,
         Fields({{Control::RzNumericEdit11, 20},
                 {Control::RzNumericEdit12, 5},
                 {Control::RzNumericEdit13, 80}}),
         ",",
         "Принято 20 мм: tпов = 16,5 °С (точка росы 16,4), запас = 0,1 °С, q = 8,1 Вт/м — "
         "обеспечено"},
    };
    for (const Case& c : cases) {
        Inputs in;
        c.setup(in);
        T_calc engine;
        const Effects effects = Calculate(c.method, in, engine, c.separator);
        ASSERT_FALSE(effects.empty());
        const auto* shown = std::get_if<ShowCheck>(&effects.back());
        ASSERT_NE(shown, nullptr) << "kind " << c.method;
        EXPECT_EQ(CheckLine(shown->check, c.separator), c.line);
    }
}

// The same inputs give the same answer whatever was calculated before. The window resets
// the engine when a kind is chosen; a surface temperature left by the kind before used to
// pick the outer coefficient of the next (condensation 108 mm, 20/5 °C, 70 %, M1-100:
// tпов 13,6, and 14,2 after a calculation by the surface temperature 20/150/45).
TEST(Calculate, SameInputsGiveTheSameAnswerAfterAnyOtherCalculation) {
    const std::map<int, Typing> successes = {
        {0, Fields({{Control::RzNumericEdit1, 5}, {Control::RzNumericEdit2, 150}})},
        {1, Fields({{Control::RzNumericEdit6, 20},
                    {Control::RzNumericEdit7, 150},
                    {Control::RzNumericEdit8, 45}})},
        {2,
         [](Inputs& in) {
             Fields({{Control::RzNumericEdit11, 20},
                     {Control::RzNumericEdit12, 5},
                     {Control::RzNumericEdit13, 70}})(in);
             in.materialValue = "3";
         }},
        {3, Fields({{Control::RzNumericEdit16, 10}}, {{Control::RzRadioGroup4, 1}})},
        {4, Fields({{Control::RzNumericEdit25, -30}})},
    };
    auto inputs = [&](int method) {
        Inputs in;
        successes.at(method)(in);
        return in;
    };
    for (const auto& [method, setup] : successes) {
        T_calc fresh;
        const Effects first = Calculate(method, inputs(method), fresh, ",");
        ASSERT_FALSE(first.empty());
        if (method == 2) {
            const auto* shown = std::get_if<ShowCheck>(&first.back());
            ASSERT_NE(shown, nullptr);
            EXPECT_NE(CheckLine(shown->check, ",").find("tпов = 13,6 °С"), std::string::npos);
        }
        for (const auto& other : successes) {
            T_calc engine; // the window's one engine: each choice of a kind resets it
            Calculate(method, inputs(method), engine, ",");
            engine.Reset();
            Calculate(other.first, inputs(other.first), engine, ",");
            engine.Reset();
            EXPECT_EQ(Calculate(method, inputs(method), engine, ","), first)
                << "kind " << method << " after kind " << other.first;
        }
    }
}

TEST(Calculate, CheckFiguresNeverReadNanOrNegativeZero) {
    CheckFigure f{"q", "Плотность", "Вт/м", -0.04};
    EXPECT_EQ(FigureValue(f, ","), "0,0");
    f.value = -1.26;
    EXPECT_EQ(FigureValue(f, ","), "-1,3");
    f.decimals = 0;
    f.value = 91.5;
    EXPECT_EQ(FigureValue(f, ","), "92");
    f.value = std::nan("");
    EXPECT_EQ(FigureValue(f, ","), "—");
    EXPECT_EQ(FigureLabel(f), "Плотность, Вт/м");
}

} // namespace
