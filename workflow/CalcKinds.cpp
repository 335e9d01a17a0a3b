#include "CalcKinds.h"

#include "FalsePositive.h"
#include "NumberField.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <variant>

namespace workflow {

namespace {

using enum ControlChange::Action;

// Location and covering: true unless the first row is chosen.
bool Flag(const Inputs& in, Control choice) {
    return in.Choice(choice) != 0;
}

int32_t Whole(const Inputs& in, Control field) {
    return ToInt32(in.Field(field));
}

bool Pipe(const Inputs& in) {
    return in.Choice(Control::RzRadioGroup1) != 1; // unless "Плоскость"
}

bool UpTo5000Hours(const Inputs& in) {
    return in.Choice(Control::RzRadioGroup4) == 0; // "Не более 5000 в год"
}

int32_t Diameter(const Inputs& in) {
    return in.Choice(Control::RzComboBox3);
}

int32_t Material(const Inputs& in) {
    return MaterialIndexFromValue(in.materialValue);
}

// clang-format off
using K = FieldKind;
using U = FieldUse;
constexpr std::optional<Limits> None;

//   control                     caption                                    kind        use         default limits            display pattern     empties range msg
constexpr NumberFieldSpec NormFluxFields[] = {
    {Control::RzNumericEdit1,  "Температура воздуха (°C)",                 K::Integer, U::Input,     0,  None,             ",0,;,-0",          true,  false},
    {Control::RzNumericEdit2,  "Температура теплоносителя (°C)",           K::Integer, U::Input,     0,  None,             ",0,;,-0",          true,  false},
    {Control::RzNumericEdit3,  "Норма тепловых потерь (Вт/м)______________", K::Real,  U::Output,    0,  None,             ",0.###.;,-0.###",  false, false},
};
constexpr std::array<std::string_view, 6> RegionRows = {
    "Европейские районы", "Западная Сибирь", "Дальний Восток", "Урал", "Восточная Сибирь",
    "Крайний Север"};
constexpr ChoiceSpec NormFluxLists[] = {{Control::RzComboBox5, "Район строительства", RegionRows, 0}};

constexpr NumberFieldSpec SurfaceTempFields[] = {
    {Control::RzNumericEdit6,  "Температура воздуха (°C)",                 K::Integer, U::Input,     0,  None,             ",0,;,-0",          true,  false},
    {Control::RzNumericEdit7,  "Температура теплоносителя (°C)",           K::Integer, U::Input,     0,  None,             ",0,;,-0",          true,  false},
    {Control::RzNumericEdit8,  "Температура на поверхности (°C)",          K::Integer, U::Input,     0,  None,             ",0,;,-0",          true,  false},
};

constexpr NumberFieldSpec CondensationFields[] = {
    {Control::RzNumericEdit11, "Температура воздуха (°C)",                 K::Integer, U::Input,     0,  Limits{-40, 50},  ",0,;,-0",          true,  true},
    {Control::RzNumericEdit12, "Температура теплоносителя (°C)",           K::Integer, U::Input,     0,  None,             ",0,;,-0",          true,  false},
    // Shows 0, below its range, until the user has been in it.
    {Control::RzNumericEdit13, "Относительная влажность воздуха (%)",      K::Integer, U::Input,     0,  Limits{50, 90},   ",0,;,0",           true,  false},
};

constexpr NumberFieldSpec TwoPipeChannelFields[] = {
    // The "С" of "(°С)" is Cyrillic here.
    {Control::RzNumericEdit16, "Температура грунта (°С)",                  K::Integer, U::Input,     5,  None,             ",0,;,-0",          true,  false},
    {Control::RzNumericEdit17, "Теплопроводность грунта (Вт/(м·°С))",         K::Real,    U::Input,     2,  Limits{0.01, 20}, ",0.###;(,0.###)",  true,  false},
    {Control::RzNumericEdit18, "Глубина (м)",                              K::Real,    U::Input,     2,  Limits{0, 1000},  ",0.###.;(,0.###)", true,  false},
    {Control::RzNumericEdit21, "Высота (м)",                               K::Real,    U::Input,     1,  Limits{0.1, 5},   ",0.###;(,0.###)",  true,  false},
    {Control::RzNumericEdit22, "Ширина (м)",                               K::Real,    U::Input,     1,  Limits{0.1, 5},   ",0.###.;(,0.###)", true,  false},
    // The engine keeps its own return temperature; this one is for show.
    {Control::RzNumericEdit24, "Температура в обратной трубе (°C)",        K::Real,    U::Disabled, 50,  None,             ",0.###.;(,0.###)", false, false},
};
// Positions 0..2 stand for 65, 90 and 110 C; the engine turns the position into the degrees.
constexpr std::array<std::string_view, 3> SupplyRows = {"65", "90", "110"};
constexpr ChoiceSpec TwoPipeChannelLists[] = {
    {Control::RzComboBox4, "Температура в подающей трубе (°C)", SupplyRows, 1}};

constexpr NumberFieldSpec FreezingFields[] = {
    {Control::RzNumericEdit25, "Температура воздуха (°C)",                 K::Integer, U::Input,   -40,  None,             ",0,;,-0",          true,  false},
    {Control::RzNumericEdit26, "Толщина стенки трубопровода (мм)",         K::Integer, U::Input,     5,  Limits{0, 100},   ",0;(,0)",          true,  false},
    {Control::RzNumericEdit27, "Начальная температура воды (°C)",          K::Integer, U::Input,    18,  Limits{0, 200},   ",0;(,0)",          true,  false},
    {Control::RzNumericEdit28, "Время отсутствия движения (час)",          K::Integer, U::Input,    24,  Limits{1, 1000},  ",0;(,0)",          true,  false},
};
// Each row a whole phrase: the list, the report and the schedule show it as it stands. A
// schedule file names the row by its position, so rows worded otherwise before still read.
constexpr std::array<std::string_view, 7> LayingRows = {
    "Для стальных трубопроводов на подвижных опорах, до 150 мм",
    "Для стальных трубопроводов на подвижных опорах, 150 мм и более",
    "Для стальных трубопроводов на подвесных опорах",
    "Для неметаллических трубопроводов на подвижных и подвесных опорах",
    "Для неметаллических трубопроводов, изолируемых совместно с основанием",
    "При групповой прокладке неметаллических трубопроводов на сплошном настиле",
    "Бесканальный"};
constexpr ChoiceSpec FreezingLists[] = {{Control::RzComboBox2, "Способ установки трубопровода", LayingRows, 6}};
// clang-format on

constexpr std::string_view NoHeatLoss = "При заданных условиях теплопотери исключены";
constexpr std::string_view TooHot = "Температура превышает допустимую";
constexpr std::string_view TooCold = "Температура ниже допустимой";
constexpr std::string_view AirBelowAbsoluteZero = "Температура воздуха ниже -273 °С";
constexpr std::string_view Celsius = "°С";

// clang-format off
constexpr StatusEffects NormFluxStatuses[] = {
    {1, "Температура не может быть меньше -273°С",      InputErrorCaption, {}, false},
    {4, NoHeatLoss,                                      InputErrorCaption, {}, false},
    {5, NoHeatLoss,                                      InputErrorCaption, {}, false},
    {6, "Трубопровод с холодным теплоносителем работает при высоких температурах, возможен некорректный результат",
                                                         WarningCaption,    {}, true,  Norm::AfterBox},
    {7, TooHot,                                          InputErrorCaption, {}, false, Norm::BeforeBox},
    {8, TooCold,                                         InputErrorCaption, {}, false, Norm::BeforeBox},
    {9, "Для холодных трубопроводов предусмотрены трубы с условным проходом от 20 мм",
                                                         InputErrorCaption, {}, false},
};

constexpr StatusEffects SurfaceTempStatuses[] = {
    {2, "При данном перепаде температур теплоизоляция не нужна", InputErrorCaption, {}, false},
    {3, "Температура на поверхности недостижима",                InputErrorCaption, {}, false},
    {4, "Температура на поверхности равна температуре воздуха",  InputErrorCaption, {}, false},
    {5, TooHot,                                                   InputErrorCaption, {}, false},
    {6, TooCold,                                                  InputErrorCaption, {}, false},
    {8, AirBelowAbsoluteZero,                                     InputErrorCaption, {}, false},
};

// Status 3 (humidity of 0 % or less, or 100 % or more) has no thickness; the humidity
// field's limits keep it out of the window's reach.
constexpr StatusEffects CondensationStatuses[] = {
    {1, "Диапазон температур предусмотрен от -40 до 50 °С",                 InputErrorCaption, Control::RzNumericEdit11, false},
    {2, "Конденсация в таких условиях невозможна",                          InputErrorCaption, {},                false},
    {3, "Относительная влажность воздуха должна быть больше 0 и меньше 100 %", InputErrorCaption, Control::RzNumericEdit13, false},
    {6, TooCold,                                                            InputErrorCaption, {},                false},
};

// The soil temperature is this method's only ambient temperature, hence the air message.
constexpr StatusEffects TwoPipeChannelStatuses[] = {
    {1, "Теплопроводность грунта не должна быть равна нулю", InputErrorCaption,      Control::RzNumericEdit17, false},
    {2, "Канал выходит на поверхность",                      InputErrorCaption,      Control::RzNumericEdit18, false},
    {3, "Ширина канала не должна быть равна нулю",           InputErrorCaption,      Control::RzNumericEdit22, false},
    {4, "Высота канала не должна быть равна нулю",           InputErrorCaption,      Control::RzNumericEdit21, false},
    {5, "Ширина канала недостаточна",                        ChannelTooSmallCaption, {},                false},
    // The engine's own box has said it, with the height the pipes need: once is enough.
    {6, "",                                                  ChannelTooSmallCaption, {},                false},
    {7, AirBelowAbsoluteZero,                                WarningCaption,         Control::RzNumericEdit16, false},
};

// Status 6 (water below 0 C) is calculated without a word.
constexpr StatusEffects FreezingStatuses[] = {
    {1, "При положительной температуре воздуха замерзание исключено", InputErrorCaption, Control::RzNumericEdit25, false},
    {2, "Укажите толщину стенки трубопровода",                        InputErrorCaption, Control::RzNumericEdit26, false},
    {3, "Укажите время отсутствия движения",                          InputErrorCaption, Control::RzNumericEdit28, false},
    {4, "Заданы невыполнимые условия расчёта, возможно слишком малое время отсутствия движения",
                                                                      InputErrorCaption, Control::RzNumericEdit28, false},
    {5, "При заданных условиях слишком большая толщина теплоизоляции", WarningCaption,    {},                true},
    {7, AirBelowAbsoluteZero,                                         WarningCaption,    Control::RzNumericEdit25, false},
};
// clang-format on

constexpr std::string_view WallTooThick =
    "Толщина стенки трубы должна быть меньше половины её наружного диаметра";

// A wall of half the outer diameter or more leaves no bore for the water.
bool WallFitsPipe(double wallMm, int32_t diameterPosition) {
    const auto diameters = DiameterListMm();
    if (diameterPosition < 0 || diameterPosition >= int32_t(diameters.size())) return true;
    return 2 * wallMm < diameters[std::size_t(diameterPosition)];
}

// clang-format off
constexpr ControlChange NormFluxChanges[] = {
    {Control::RzRadioGroup1, Show}, {Control::RzRadioGroup1, Enable},
    {Control::RzRadioGroup2, Enable}, {Control::RzRadioGroup2, Show},
    {Control::RzRadioGroup3, Show}, {Control::RzLabel16, Show}, {Control::RzLabel17, Show}, {Control::RzLabel11, Show},
    {Control::RzRadioGroup4, Show}, {Control::RzLabel18, Show},
};
constexpr ControlChange SurfaceTempChanges[] = {
    {Control::RzRadioGroup1, Show}, {Control::RzRadioGroup1, Enable},
    {Control::RzRadioGroup2, Enable}, {Control::RzRadioGroup2, Show},
    {Control::RzRadioGroup3, Show}, {Control::RzLabel16, Show}, {Control::RzLabel17, Show}, {Control::RzLabel11, Show},
    {Control::RzLabel18, Hide}, {Control::RzRadioGroup4, Hide},
};
// Condensation is a matter of indoor air.
constexpr ControlChange CondensationChanges[] = {
    {Control::RzRadioGroup1, Show}, {Control::RzRadioGroup1, Enable},
    {Control::RzRadioGroup2, Disable}, {Control::RzRadioGroup2, ChooseRow, 1}, {Control::RzRadioGroup2, Hide},
    {Control::RzLabel16, Show}, {Control::RzLabel17, Show}, {Control::RzLabel11, Hide},
    {Control::RzRadioGroup3, Show}, {Control::RzRadioGroup4, Hide}, {Control::RzLabel18, Hide},
};
// A heat network is a pipe; its channel starts from typical sizes every time.
constexpr ControlChange TwoPipeChannelChanges[] = {
    {Control::RzRadioGroup1, ChooseRow, 0}, {Control::RzRadioGroup1, Disable}, {Control::RzRadioGroup1, Hide},
    {Control::RzRadioGroup2, Hide},
    {Control::RzNumericEdit21, SetValue, 0.5}, {Control::RzNumericEdit17, SetValue, 1.8},
    {Control::RzLabel16, Hide}, {Control::RzLabel17, Hide}, {Control::RzLabel11, Hide}, {Control::RzRadioGroup3, Hide},
    {Control::RzLabel18, Show}, {Control::RzRadioGroup4, Show},
};
// Freezing water stands in a pipe in the open air.
constexpr ControlChange FreezingChanges[] = {
    {Control::RzRadioGroup1, Hide}, {Control::RzRadioGroup1, Disable}, {Control::RzRadioGroup1, ChooseRow, 0},
    {Control::RzRadioGroup2, Hide}, {Control::RzRadioGroup2, Enable},
    {Control::RzLabel16, Hide}, {Control::RzLabel17, Hide}, {Control::RzLabel11, Hide}, {Control::RzRadioGroup3, Hide},
    {Control::RzLabel18, Hide}, {Control::RzRadioGroup4, Hide},
};

// In the order of each entry's arguments; the flags and indices of the lower panel first.
constexpr std::array<Control, 9> ReadByNormFlux = {
    Control::RzRadioGroup1, Control::RzRadioGroup4, Control::RzRadioGroup2, Control::RzRadioGroup3, Control::RzNumericEdit1,
    Control::RzNumericEdit2, Control::RzComboBox3, Control::RzComboBox5, Control::RzComboBox1};
constexpr std::array<Control, 8> ReadBySurfaceTemp = {
    Control::RzRadioGroup1, Control::RzRadioGroup2, Control::RzRadioGroup3, Control::RzNumericEdit6, Control::RzNumericEdit7,
    Control::RzNumericEdit8, Control::RzComboBox3, Control::RzComboBox1};
constexpr std::array<Control, 7> ReadByCondensation = {
    Control::RzRadioGroup1, Control::RzRadioGroup3, Control::RzNumericEdit11, Control::RzNumericEdit12, Control::RzNumericEdit13,
    Control::RzComboBox3, Control::RzComboBox1};
// The working hours are stored in the engine before the call; they pick the channel norm.
constexpr std::array<Control, 9> ReadByTwoPipeChannel = {
    Control::RzRadioGroup4, Control::RzComboBox4, Control::RzNumericEdit21, Control::RzNumericEdit22, Control::RzNumericEdit17,
    Control::RzNumericEdit18, Control::RzNumericEdit16, Control::RzComboBox3, Control::RzComboBox1};
constexpr std::array<Control, 7> ReadByFreezing = {
    Control::RzNumericEdit25, Control::RzNumericEdit26, Control::RzNumericEdit28, Control::RzNumericEdit27, Control::RzComboBox3,
    Control::RzComboBox1, Control::RzComboBox2};
// clang-format on

// What a status's box adds: "Температура превышает допустимую" goes on to name the material
// the engine took and its highest temperature.
std::string LimitDetail(int32_t status, std::span<const StatusEffects> statuses, const Inputs& in,
                        std::string_view separator) {
    const auto row = std::ranges::find(statuses, status, &StatusEffects::status);
    if (row == statuses.end() || row->text != TooHot) return {};
    const int32_t material = Material(in);
    std::string_view name;
    for (const MaterialSpec& m : MaterialCatalogue())
        if (MaterialIndexFromValue(m.value) == material) name = m.text;
    const double limit = tcalc_tables::MaterialLaws[std::size_t(material)].upperLimit;
    return " для материала «" + std::string(name) + "» — не выше " +
           DecimalText(limit, 1, separator, true) + " " + std::string(Celsius);
}

std::optional<EntryResult> RunNormFlux(const Inputs& in, T_calc& engine, std::vector<Effect>&,
                                       std::string_view separator) {
    EntryResult r{0, 0, 0.0};
    r.status = engine.CalcByNormFlux(
        Pipe(in), UpTo5000Hours(in), Flag(in, Control::RzRadioGroup2),
        Flag(in, Control::RzRadioGroup3), Whole(in, Control::RzNumericEdit1),
        Whole(in, Control::RzNumericEdit2), Diameter(in), in.Choice(Control::RzComboBox5),
        in.Choice(Control::RzRadioGroup2), Material(in), *r.norm, r.thickness);
    r.boxDetail = LimitDetail(r.status, NormFluxStatuses, in, separator);
    return r;
}

std::optional<EntryResult> RunSurfaceTemp(const Inputs& in, T_calc& engine, std::vector<Effect>&,
                                          std::string_view separator) {
    EntryResult r{};
    r.status = engine.CalcBySurfaceTemp(
        Pipe(in), Flag(in, Control::RzRadioGroup2), Flag(in, Control::RzRadioGroup3),
        Whole(in, Control::RzNumericEdit6), Whole(in, Control::RzNumericEdit7),
        Whole(in, Control::RzNumericEdit8), Diameter(in), Material(in), r.thickness);
    r.boxDetail = LimitDetail(r.status, SurfaceTempStatuses, in, separator);
    return r;
}

std::optional<EntryResult> RunCondensation(const Inputs& in, T_calc& engine,
                                           std::vector<Effect>& effects, std::string_view) {
    // The field keeps the raised humidity whatever the engine says.
    double humidity = in.Field(Control::RzNumericEdit13);
    const double lowest = NumberField(Control::RzNumericEdit13).limits->min;
    if (!(humidity >= lowest)) {
        humidity = lowest;
        // GCC 12 at -O3 sees ShowCheck's fields read in the move into the list.
        IZOL_GCC_FALSE_POSITIVE("-Wmaybe-uninitialized",
                                effects.push_back(SetField{Control::RzNumericEdit13, humidity});)
    }
    EntryResult r{};
    r.status = engine.CalcAgainstCondensation(
        Pipe(in), Flag(in, Control::RzRadioGroup3), Whole(in, Control::RzNumericEdit11),
        Whole(in, Control::RzNumericEdit12), ToInt32(humidity), Diameter(in), Material(in),
        r.thickness);
    return r;
}

// ": трубы в изоляции помещаются при высоте от 0,62 м": the size in whole millimetres,
// rounded up so that the figure typed holds the pipes.
std::string RoomText(std::string_view dimension, double metres, std::string_view separator) {
    double mm = std::ceil(metres * 1000);
    if (mm / 1000 < metres) ++mm; // the division lost the last bit
    const std::string figure = DecimalText(mm / 1000, 3, separator, true);
    if (figure.empty()) return {};
    return ": трубы в изоляции помещаются при " + std::string(dimension) + " от " + figure + " м";
}

std::optional<EntryResult> RunTwoPipeChannel(const Inputs& in, T_calc& engine,
                                             std::vector<Effect>& effects,
                                             std::string_view separator) {
    // The hours choice is visible on this page, so it picks the channel norm too.
    engine.UpTo5000Hours = UpTo5000Hours(in);
    const std::size_t before = effects.size();
    EntryResult r{};
    r.status = engine.CalcTwoPipeChannel(
        in.Choice(Control::RzComboBox4), in.Field(Control::RzNumericEdit21),
        in.Field(Control::RzNumericEdit22), in.Field(Control::RzNumericEdit17),
        in.Field(Control::RzNumericEdit18), Whole(in, Control::RzNumericEdit16), Diameter(in),
        Material(in), r.thickness);
    // A channel too small: each box says the smallest size that holds the insulated pipes,
    // for the layer the method found (the engine's Thickness; the entry returns 0).
    const T_calc::ChannelRoom needed = engine.NeededChannel(engine.Thickness);
    for (std::size_t i = before; i < effects.size(); ++i)
        if (auto* box = std::get_if<ShowMessage>(&effects[i]);
            box && box->text == T_calc::ChannelTooLowText)
            box->text += RoomText("высоте", needed.height, separator);
    if (r.status == 5) r.boxDetail = RoomText("ширине", needed.width, separator);
    return r;
}

std::optional<EntryResult> RunFreezing(const Inputs& in, T_calc& engine,
                                       std::vector<Effect>& effects, std::string_view) {
    if (!WallFitsPipe(Whole(in, Control::RzNumericEdit26), Diameter(in))) {
        effects.push_back(ShowMessage{std::string(WallTooThick), std::string(InputErrorCaption)});
        effects.emplace_back(MoveFocus{Control::RzNumericEdit26});
        return std::nullopt;
    }
    EntryResult r{};
    r.status = engine.CalcAgainstFreezing(
        Whole(in, Control::RzNumericEdit25), double(Whole(in, Control::RzNumericEdit26)),
        Whole(in, Control::RzNumericEdit28), Whole(in, Control::RzNumericEdit27), Diameter(in),
        Material(in), in.Choice(Control::RzComboBox2), r.thickness);
    return r;
}

// ---- The check at the accepted thickness ----------------------------------------------

constexpr std::string_view SurfaceTemperature = "Температура поверхности изоляции";
constexpr std::string_view FluxDensity = "Плотность теплового потока";

std::string_view FluxUnit(bool perMetre) {
    return perMetre ? "Вт/м" : "Вт/м²";
}

// At a single thickness the requirement holds or not; the rounding is judged afterwards.
CheckState At(bool met) {
    return met ? CheckState::Met : CheckState::NotMet;
}

AcceptedCheck CheckNormFlux(const T_calc& engine, int32_t mm) {
    const auto c = engine.CheckNormFlux(engine.InstalledThickness(mm));
    const std::string_view unit = FluxUnit(c.perMetre);
    return {
        .acceptedMm = mm,
        .checked = {"q", FluxDensity, unit, c.flux},
        .required = {"норма", "Норма qн × районный коэффициент K", unit, c.allowedFlux},
        .more = {{"tпов", SurfaceTemperature, Celsius, c.surfaceTemp},
                 {"q/(K·qн)", "Отношение к норме", "%", 100 * c.flux / c.allowedFlux, 0, false}},
        .state = At(c.Met()),
        // The table's norm and the regional coefficient, named apart from their product.
        .factors = {{"норма", "Норма плотности теплового потока qн", unit, c.normFlux},
                    {"K", "Районный коэффициент", "", c.regionCoef, 2}}};
}

AcceptedCheck CheckSurfaceTemp(const T_calc& engine, int32_t mm) {
    const auto c = engine.CheckSurfaceTemp(engine.InstalledThickness(mm));
    return {mm,
            {"tпов", SurfaceTemperature, Celsius, c.surfaceTemp},
            {"задана", "Заданная температура поверхности", Celsius, c.givenSurfaceTemp, 0},
            {{"q", FluxDensity, FluxUnit(c.perMetre), c.flux}},
            At(c.Met())};
}

AcceptedCheck CheckCondensation(const T_calc& engine, int32_t mm) {
    const auto c = engine.CheckCondensation(engine.InstalledThickness(mm));
    return {mm,
            {"tпов", SurfaceTemperature, Celsius, c.surfaceTemp},
            {"точка росы", "Температура точки росы", Celsius, c.dewPoint},
            {{"запас", "Запас до точки росы", Celsius, c.surfaceTemp - c.dewPoint},
             {"q", FluxDensity, FluxUnit(c.perMetre), c.flux}},
            At(c.Met())};
}

AcceptedCheck CheckTwoPipeChannel(const T_calc& engine, int32_t mm) {
    const auto c = engine.CheckTwoPipeChannel(engine.InstalledThickness(mm));
    return {mm,
            {"qпары", "Теплопотери пары трубопроводов", "Вт/м", c.pairLoss},
            {"норма", "Норма теплопотерь пары", "Вт/м", c.normLoss},
            {{"q1", "Теплопотери подающего трубопровода", "Вт/м", c.supplyLoss, 1, false},
             {"q2", "Теплопотери обратного трубопровода", "Вт/м", c.returnLoss, 1, false},
             {"tк", "Температура воздуха в канале", Celsius, c.channelAir}},
            At(c.Met())};
}

AcceptedCheck CheckFreezing(const T_calc& engine, int32_t mm) {
    const auto c = engine.CheckFreezing(engine.InstalledThickness(mm));
    return {mm,
            {"время до замерзания", "Время до замерзания допустимой доли воды", "ч", c.hours},
            {"задано", "Заданное время прекращения движения воды", "ч", c.givenHours, 0},
            {},
            At(c.Met())};
}

// clang-format off
constexpr ExampleValue NormFluxExample[] = {{Control::RzNumericEdit1, 5}, {Control::RzNumericEdit2, 150}};
constexpr ExampleValue SurfaceTempExample[] = {
    {Control::RzNumericEdit6, 20}, {Control::RzNumericEdit7, 150}, {Control::RzNumericEdit8, 45}};
constexpr ExampleValue CondensationExample[] = {
    {Control::RzNumericEdit11, 20}, {Control::RzNumericEdit12, 5}, {Control::RzNumericEdit13, 60}};
constexpr ExampleValue FreezingExample[] = {{Control::RzNumericEdit25, -30}};

constexpr std::array<CalcKind, CalcMethodCount> Kinds = {{
    {"По нормам плотности теплового потока",
     "по нормам плотности теплового потока", "frxReport3", "", "",
     NormFluxFields,       NormFluxLists,
     ReadByNormFlux,       NormFluxChanges,       NormFluxStatuses,       RunNormFlux,       CheckNormFlux,       true,  NormFluxExample},
    {"По заданной температуре на поверхности изоляции",
     "по заданной температуре поверхности",  "frxReport1", "", "",
     SurfaceTempFields,    {},
     ReadBySurfaceTemp,    SurfaceTempChanges,    SurfaceTempStatuses,    RunSurfaceTemp,    CheckSurfaceTemp,    true,  SurfaceTempExample},
    {"С целью предотвращения конденсации влаги на поверхности изоляции",
     "против конденсации влаги",             "frxReport2", "", "",
     CondensationFields,   {},
     ReadByCondensation,   CondensationChanges,   CondensationStatuses,   RunCondensation,   CheckCondensation,   false, CondensationExample},
    {"Трубопроводов тепловых сетей двухтрубной канальной прокладки",
     "двухтрубная канальная прокладка",      "frxReport5", "В непроходном канале", "Не металлическое",
     TwoPipeChannelFields, TwoPipeChannelLists,
     ReadByTwoPipeChannel, TwoPipeChannelChanges, TwoPipeChannelStatuses, RunTwoPipeChannel, CheckTwoPipeChannel, true},
    // The method computes with the outer coefficient of a metal covering.
    {"С целью предотвращения замерзания воды в трубопроводе",
     "против замерзания воды",               "frxReport4", "На открытом воздухе", "Металл",
     FreezingFields,       FreezingLists,
     ReadByFreezing,       FreezingChanges,       FreezingStatuses,       RunFreezing,       CheckFreezing,       false, FreezingExample},
}};
// clang-format on
// A row left out of the table would still be there, empty; it is a compile error instead.
static_assert(std::ranges::all_of(Kinds, [](const CalcKind& k) {
    return !k.caption.empty() && !k.fields.empty() && !k.reads.empty() && k.run && k.check;
}));

// An input stands on one page only, so the inputs together are no more than the controls.
constexpr bool OnOnePage() {
    std::array<int, ControlCount> pages{};
    for (const CalcKind& kind : Kinds) {
        for (const NumberFieldSpec& field : kind.fields)
            if (pages[std::size_t(field.control)]++) return false;
        for (const ChoiceSpec& list : kind.lists)
            if (pages[std::size_t(list.control)]++) return false;
    }
    return true;
}
static_assert(OnOnePage());

} // namespace

std::span<const CalcKind> CalcKinds() {
    return Kinds;
}

const CalcKind* Kind(int method) {
    return method >= 0 && method < int(Kinds.size()) ? &Kinds[std::size_t(method)] : nullptr;
}

std::span<const Control> InputsReadBy(int method) {
    const CalcKind* kind = Kind(method);
    return kind ? kind->reads : std::span<const Control>{};
}

} // namespace workflow
