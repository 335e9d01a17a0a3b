#include "InputModel.h"

#include "CalcKinds.h"
#include "TCalc.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <vector>

namespace workflow {

namespace {

// clang-format off

constexpr std::array<std::string_view, 2> ObjectRows    = {"Труба", "Плоскость"};
constexpr std::array<std::string_view, 2> LocationRows  = {"На открытом воздухе", "В помещении"};
constexpr std::array<std::string_view, 2> CoveringRows  = {"Металл", "Не металл"};
constexpr std::array<std::string_view, 2> HoursRows     = {"Не более 5000 в год", "Свыше 5000 в год"};
// Rows 2 and 3: two blanks after "прошивной"; the M of "M1-75" is Latin, that of "М1-100"
// Cyrillic.
constexpr MaterialSpec Catalogue[] = {
    {"0", "Мат прошивной ЗОРБАЛИТ-80.",                       ShownFor::PipeAndPlane},
    {"1", "Мат прошивной ЗОРБАЛИТ-100.",                      ShownFor::PipeAndPlane},
    {"2", "Мат прошивной  ГОСТ M1-75   и его модификации",    ShownFor::PipeAndPlane},
    {"3", "Мат прошивной  ГОСТ М1-100 и его модификации",     ShownFor::PipeAndPlane},
    {"4", "Цилиндр ЗОРБАЛИТ - 80",                            ShownFor::PipeOnly},
    {"5", "Цилиндр ЗОРБАЛИТ - 100",                           ShownFor::PipeOnly},
    {"6", "Мат ламельный ЗОРБАЛИТ",                           ShownFor::PlaneAndLargePipe},
};
static_assert(std::size(Catalogue) == T_calc::MaterialCount, "a catalogue row per material law");

// clang-format on

std::span<const std::string_view> DiameterRows() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (int32_t mm : T_calc::OuterDiametersMm())
            t.push_back(std::to_string(mm));
        return t;
    }();
    static const std::vector<std::string_view> views(texts.begin(), texts.end());
    return views;
}

template <typename Spec> std::size_t PositionOf(std::span<const Spec> table, Control control) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].control == control) return i;
    throw std::out_of_range("no input named " + std::string(ObjectName(control)));
}

} // namespace

std::span<const ChoiceSpec> Choices() {
    static const std::vector<ChoiceSpec> choices = [] {
        // clang-format off
        std::vector<ChoiceSpec> all = {
            {Control::RzRadioGroup1, "Объект",                                              ObjectRows,     0},
            {Control::RzRadioGroup2, "Расположение",                                        LocationRows,   0},
            {Control::RzRadioGroup3, "Покрытие",                                            CoveringRows,   0},
            {Control::RzRadioGroup4, "Число часов работы в год",                            HoursRows,      0},
            {Control::RzComboBox3,   "Диаметр трубы (мм)...................................", DiameterRows(), 7},
        };
        // clang-format on
        for (const CalcKind& kind : CalcKinds())
            all.insert(all.end(), kind.lists.begin(), kind.lists.end());
        return all;
    }();
    return choices;
}

const ChoiceSpec& Choice(Control control) {
    return Choices()[PositionOf(Choices(), control)];
}

bool IsChoice(Control control) {
    return std::any_of(Choices().begin(), Choices().end(),
                       [&](const ChoiceSpec& c) { return c.control == control; });
}

std::string_view ChoiceRowText(Control choice, int position) {
    const auto rows = Choice(choice).rows;
    return position >= 0 && position < int(rows.size()) ? rows[std::size_t(position)] : "";
}

std::string LayingText(int position) {
    return std::string(ChoiceRowText(Control::RzComboBox2, position));
}

std::span<const int32_t> DiameterListMm() {
    return T_calc::OuterDiametersMm();
}

std::span<const MaterialSpec> MaterialCatalogue() {
    return Catalogue;
}

std::span<const MaterialSpec* const> MaterialRowsFor(bool pipe, int diameterPosition) {
    auto compose = [](auto shown) {
        std::vector<const MaterialSpec*> rows;
        for (const MaterialSpec& m : Catalogue)
            if (shown(m.shownFor)) rows.push_back(&m);
        return rows;
    };
    static const std::vector<const MaterialSpec*> smallPipe =
        compose([](ShownFor s) { return s != ShownFor::PlaneAndLargePipe; });
    static const std::vector<const MaterialSpec*> largePipe =
        compose([](ShownFor) { return true; });
    static const std::vector<const MaterialSpec*> plane =
        compose([](ShownFor s) { return s != ShownFor::PipeOnly; });
    if (!pipe) return plane;
    return diameterPosition >= LargeDiameterFrom ? largePipe : smallPipe;
}

std::string_view MaterialText(const std::optional<std::string>& value) {
    for (const MaterialSpec& m : Catalogue)
        if (value && m.value == *value) return m.text;
    return {};
}

int32_t MaterialIndexFromValue(std::optional<std::string_view> value) {
    if (!value) return 0;
    int32_t index = 0;
    const char* end = value->data() + value->size();
    const auto [ptr, ec] = std::from_chars(value->data(), end, index);
    if (ec != std::errc() || ptr != end) return 0;
    // Only catalogue indices reach the engine, whose tables have no other rows.
    if (index < 0 || index >= T_calc::MaterialCount) return 0;
    return index;
}

std::span<const NumberFieldSpec> NumberFields() {
    static const std::vector<NumberFieldSpec> fields = [] {
        std::vector<NumberFieldSpec> all;
        for (const CalcKind& kind : CalcKinds())
            all.insert(all.end(), kind.fields.begin(), kind.fields.end());
        return all;
    }();
    return fields;
}

const NumberFieldSpec& NumberField(Control control) {
    return NumberFields()[PositionOf(NumberFields(), control)];
}

int PageOf(Control input) {
    const auto on = [input](const auto& specs) {
        return std::any_of(specs.begin(), specs.end(),
                           [input](const auto& spec) { return spec.control == input; });
    };
    for (const CalcKind& kind : CalcKinds())
        if (on(kind.fields) || on(kind.lists)) return int(&kind - CalcKinds().data());
    return CommonPanel;
}

std::string_view NormCaption(int objectPosition) {
    if (objectPosition == 1) return "Норма тепловых потерь (Вт/м²)______________";
    return NumberField(Control::RzNumericEdit3).caption;
}

Inputs::Inputs()
    : materialValue(std::string(DefaultMaterialValue)) {
    for (std::size_t i = 0; i < Choices().size(); ++i)
        choices_[i] = Choices()[i].defaultRow;
    for (std::size_t i = 0; i < NumberFields().size(); ++i)
        fields_[i] = NumberFields()[i].defaultValue;
}

int& Inputs::Choice(Control choice) {
    return choices_[PositionOf(Choices(), choice)];
}

int Inputs::Choice(Control choice) const {
    return choices_[PositionOf(Choices(), choice)];
}

double& Inputs::Field(Control field) {
    return fields_[PositionOf(NumberFields(), field)];
}

double Inputs::Field(Control field) const {
    return fields_[PositionOf(NumberFields(), field)];
}

} // namespace workflow
