#include "InputModel.h"

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
constexpr std::array<std::string_view, 6> RegionRows    = {
    "Европейские районы", "Западная Сибирь", "Дальний Восток", "Урал", "Восточная Сибирь",
    "Крайний Север"};
// Positions 0..2 stand for 65, 90 and 110 C; the engine turns the position into the degrees.
constexpr std::array<std::string_view, 3> SupplyRows    = {"65", "90", "110"};
// Row 1 continues row 0; rows 0 and 5 end in a blank.
constexpr std::array<std::string_view, 7> LayingRows    = {
    "Для стальных трубопроводов на подвижных опорах, до 150 мм: ",
    "150 и более",
    "для стальных трубопроводов на подвесных опорах",
    "для неметаллических трубопроводов на подвижных и подвесных опорах",
    "для неметаллических трубопроводов, изолируемых совместно с основанием",
    "при групповой прокладке неметаллических трубопроводов на сплошном настиле ",
    "Бесканальный"};

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

using K = FieldKind;
using U = FieldUse;
constexpr std::optional<Limits> None;

constexpr NumberFieldSpec Fields[] = {
//   control                     caption                                          method kind        use          default  limits           display pattern       empties range msg
    {Control::RzNumericEdit1,  "Температура воздуха (°C)",                       0, K::Integer, U::Input,     0,  None,                ",0,;,-0",            true,  false},
    {Control::RzNumericEdit2,  "Температура теплоносителя (°C)",                 0, K::Integer, U::Input,     0,  None,                ",0,;,-0",            true,  false},
    {Control::RzNumericEdit3,  "Норма тепловых потерь (Вт/м)______________",     0, K::Real,    U::Output,    0,  None,                ",0.###.;,-0.###",    false, false},
    {Control::RzNumericEdit6,  "Температура воздуха (°C)",                       1, K::Integer, U::Input,     0,  None,                ",0,;,-0",            true,  false},
    {Control::RzNumericEdit7,  "Температура теплоносителя (°C)",                 1, K::Integer, U::Input,     0,  None,                ",0,;,-0",            true,  false},
    {Control::RzNumericEdit8,  "Температура на поверхности (°C)",                1, K::Integer, U::Input,     0,  None,                ",0,;,-0",            true,  false},
    {Control::RzNumericEdit11, "Температура воздуха (°C)",                       2, K::Integer, U::Input,     0,  Limits{-40, 50},     ",0,;,-0",            true,  true},
    {Control::RzNumericEdit12, "Температура теплоносителя (°C)",                 2, K::Integer, U::Input,     0,  None,                ",0,;,-0",            true,  false},
    // Shows 0, below its range, until the user has been in it.
    {Control::RzNumericEdit13, "Относительная влажность воздуха (%)",            2, K::Integer, U::Input,     0,  Limits{50, 90},      ",0,;,0",             true,  false},
    // The "С" of "(°С)" is Cyrillic here.
    {Control::RzNumericEdit16, "Температура грунта (°С)",                        3, K::Integer, U::Input,     5,  None,                ",0,;,-0",            true,  false},
    {Control::RzNumericEdit17, "Теплопроводность грунта (Вт/(м·°С))",               3, K::Real,    U::Input,     2,  Limits{0.01, 20},    ",0.###;(,0.###)",    true,  false},
    {Control::RzNumericEdit18, "Глубина (м)",                                    3, K::Real,    U::Input,     2,  Limits{0, 1000},     ",0.###.;(,0.###)",   true,  false},
    {Control::RzNumericEdit21, "Высота (м)",                                     3, K::Real,    U::Input,     1,  Limits{0.1, 5},      ",0.###;(,0.###)",    true,  false},
    {Control::RzNumericEdit22, "Ширина (м)",                                     3, K::Real,    U::Input,     1,  Limits{0.1, 5},      ",0.###.;(,0.###)",   true,  false},
    // The engine keeps its own return temperature; this one is for show.
    {Control::RzNumericEdit24, "Температура в обратной трубе (°C)",              3, K::Real,    U::Disabled, 50,  None,                ",0.###.;(,0.###)",   false, false},
    {Control::RzNumericEdit25, "Температура воздуха (°C)",                       4, K::Integer, U::Input,   -40,  None,                ",0,;,-0",            true,  false},
    {Control::RzNumericEdit26, "Толщина стенки трубопровода (мм)",               4, K::Integer, U::Input,     5,  Limits{0, 100},      ",0;(,0)",            true,  false},
    {Control::RzNumericEdit27, "Начальная температура воды (°C)",                4, K::Integer, U::Input,    18,  Limits{0, 200},      ",0;(,0)",            true,  false},
    {Control::RzNumericEdit28, "Время отсутствия движения (час)",                4, K::Integer, U::Input,    24,  Limits{1, 1000},     ",0;(,0)",            true,  false},
};
static_assert(std::size(Fields) <= ControlCount);

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
    // clang-format off
    static const ChoiceSpec choices[] = {
        {Control::RzRadioGroup1, "Объект",                                              CommonPanel, ObjectRows,    0},
        {Control::RzRadioGroup2, "Расположение",                                        CommonPanel, LocationRows,  0},
        {Control::RzRadioGroup3, "Покрытие",                                            CommonPanel, CoveringRows,  0},
        {Control::RzRadioGroup4, "Число часов работы в год",                            CommonPanel, HoursRows,     0},
        {Control::RzComboBox3,   "Диаметр трубы (мм)...................................", CommonPanel, DiameterRows(), 7},
        {Control::RzComboBox5,   "Район строительства",                                 0,           RegionRows,    0},
        {Control::RzComboBox4,   "Температура в подающей трубе (°C)",                   3,           SupplyRows,    1},
        {Control::RzComboBox2,   "Способ установки трубопровода",                       4,           LayingRows,    6},
    };
    static_assert(std::size(choices) <= ControlCount);
    // clang-format on
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
    if (position == 1) return "Для стальных трубопроводов на подвижных опорах, 150 мм и более";
    std::string_view row = ChoiceRowText(Control::RzComboBox2, position);
    while (!row.empty() && (row.back() == ' ' || row.back() == ':'))
        row.remove_suffix(1);
    return std::string(row);
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
    return Fields;
}

const NumberFieldSpec& NumberField(Control control) {
    return NumberFields()[PositionOf(NumberFields(), control)];
}

std::string_view NormCaption(int objectPosition) {
    if (objectPosition == 1) return "Норма тепловых потерь (Вт/м²)______________";
    return NumberField(Control::RzNumericEdit3).caption;
}

Inputs::Inputs()
    : materialValue(std::string(DefaultMaterialValue)) {
    for (std::size_t i = 0; i < Choices().size(); ++i)
        choices_[i] = Choices()[i].defaultRow;
    for (std::size_t i = 0; i < std::size(Fields); ++i)
        fields_[i] = Fields[i].defaultValue;
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
