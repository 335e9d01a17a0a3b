#include "CalculateCommand.h"

#include "NumberField.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

namespace workflow {

namespace {

// Where the norm density field RzNumericEdit3 takes the norm that the entry returned.
enum class Norm { Keep, BeforeBox, AfterBox };

// What one status of an entry shows. A status without a row is a success.
struct StatusEffects {
    int32_t status;
    std::string_view text; // the box; empty for none
    std::string_view caption;
    std::string_view focus; // the field to correct; empty when the focus stays
    bool thenSuccess;       // a warning: the thickness is shown after the box
    Norm norm = Norm::Keep; // by norm density of heat flux only
};

constexpr std::string_view NoHeatLoss = "При заданных условиях теплопотери исключены";
constexpr std::string_view TooHot = "Температура превышает допустимую";
constexpr std::string_view TooCold = "Температура ниже допустимой";
constexpr std::string_view AirBelowAbsoluteZero = "Температура воздуха ниже -273 °С";

// clang-format off
constexpr StatusEffects NormFluxStatuses[] = {
    {1, "Температура не может быть меньше -273°С",      InputErrorCaption, "", false},
    {4, NoHeatLoss,                                      InputErrorCaption, "", false},
    {5, NoHeatLoss,                                      InputErrorCaption, "", false},
    {6, "Трубопровод с холодным теплоносителем работает при высоких температурах, возможен некорректный результат",
                                                         WarningCaption,    "", true,  Norm::AfterBox},
    {7, TooHot,                                          InputErrorCaption, "", false, Norm::BeforeBox},
    {8, TooCold,                                         InputErrorCaption, "", false, Norm::BeforeBox},
    {9, "Для холодных трубопроводов предусмотрены трубы с условным проходом от 20 мм",
                                                         InputErrorCaption, "", false},
};

constexpr StatusEffects SurfaceTempStatuses[] = {
    {2, "При данном перепаде температур теплоизоляция не нужна", InputErrorCaption, "", false},
    {3, "Температура на поверхности недостижима",                InputErrorCaption, "", false},
    {4, "Температура на поверхности равна температуре воздуха",  InputErrorCaption, "", false},
    {5, TooHot,                                                   InputErrorCaption, "", false},
    {6, TooCold,                                                  InputErrorCaption, "", false},
    {8, AirBelowAbsoluteZero,                                     InputErrorCaption, "", false},
};

// Status 3 (humidity of 0 % or less, or 100 % or more) has no thickness; the humidity
// field's limits keep it out of the window's reach.
constexpr StatusEffects CondensationStatuses[] = {
    {1, "Диапазон температур предусмотрен от -40 до 50 °С",                 InputErrorCaption, "RzNumericEdit11", false},
    {2, "Конденсация в таких условиях невозможна",                          InputErrorCaption, "",                false},
    {3, "Относительная влажность воздуха должна быть больше 0 и меньше 100 %", InputErrorCaption, "RzNumericEdit13", false},
    {6, TooCold,                                                            InputErrorCaption, "",                false},
};

// The soil temperature is this method's only ambient temperature, hence the air message.
constexpr StatusEffects TwoPipeChannelStatuses[] = {
    {1, "Теплопроводность грунта не должна быть равнв нулю", InputErrorCaption,      "RzNumericEdit17", false},
    {2, "Канал выходит на поверхность",                      InputErrorCaption,      "RzNumericEdit18", false},
    {3, "Ширина канала не должна быть равна нулю",           InputErrorCaption,      "RzNumericEdit22", false},
    {4, "Высота канала не должна быть равнв нулю",           InputErrorCaption,      "RzNumericEdit21", false},
    {5, "Ширина канала недостаточна",                        ChannelTooSmallCaption, "",                false},
    {6, "Высота канала недостаточна",                        ChannelTooSmallCaption, "",                false},
    {7, AirBelowAbsoluteZero,                                WarningCaption,         "RzNumericEdit16", false},
};

// Status 6 (water below 0 C) is calculated without a word.
constexpr StatusEffects FreezingStatuses[] = {
    {1, "При положительной температуре воздуха замерзание исключено", InputErrorCaption, "RzNumericEdit25", false},
    {2, "Укажите толщину стенки трубопровода",                        InputErrorCaption, "RzNumericEdit26", false},
    {3, "Укажите время отсутствия движения",                          InputErrorCaption, "RzNumericEdit28", false},
    {4, "Заданы невыполнимые условия расчёта, возможно слишком малое время отсутствия движения",
                                                                      InputErrorCaption, "RzNumericEdit28", false},
    {5, "При заданных условиях слишком болшая толщина теплоизоляции", WarningCaption,    "",                true},
    {7, AirBelowAbsoluteZero,                                         WarningCaption,    "RzNumericEdit25", false},
};
// clang-format on

// Routes the engine's message box into the effects for as long as the command runs.
class EngineMessagesInto {
public:
    EngineMessagesInto(T_calc& engine, std::vector<Effect>& effects)
        : engine_(engine)
        , previous_(std::move(engine.ShowMessageBox)) {
        engine.ShowMessageBox = [&effects](const std::string& text, const std::string& caption) {
            effects.push_back(ShowMessage{text, caption});
        };
    }
    ~EngineMessagesInto() { engine_.ShowMessageBox = std::move(previous_); }
    EngineMessagesInto(const EngineMessagesInto&) = delete;
    EngineMessagesInto& operator=(const EngineMessagesInto&) = delete;

private:
    T_calc& engine_;
    T_calc::MessageBoxFn previous_;
};

std::string ResultText(const T_calc& engine, double thickness, std::string_view separator) {
    // A negative thickness means the norm is met without insulation: none is needed.
    const int32_t millimetres = std::max(engine.RoundThickness(thickness), 0);
    // Beyond this the rounding saturates: its clamp is no computed thickness.
    if (millimetres > LargestShownThickness) return std::string(BeyondLargestThickness);
    return FormatThickness(millimetres, separator);
}

constexpr std::string_view WallTooThick =
    "Толщина стенки трубы должна быть меньше половины её наружного диаметра";

// A wall of half the outer diameter or more leaves no bore for the water.
bool WallFitsPipe(double wallMm, int32_t diameterPosition) {
    const auto diameters = DiameterListMm();
    if (diameterPosition < 0 || diameterPosition >= int32_t(diameters.size())) return true;
    return 2 * wallMm < diameters[std::size_t(diameterPosition)];
}

// Appends what `status` shows, by the entry's table. `normFlux` is set for the norm
// density method only.
void Conclude(std::vector<Effect>& effects, std::span<const StatusEffects> table, int32_t status,
              std::optional<double> normFlux, const T_calc& engine, double thickness,
              std::string_view separator) {
    const auto row = std::find_if(table.begin(), table.end(),
                                  [&](const StatusEffects& e) { return e.status == status; });
    const StatusEffects success{status, "", "", "", true, Norm::BeforeBox};
    const StatusEffects& e = row != table.end() ? *row : success;

    auto showNorm = [&] {
        if (normFlux) effects.push_back(SetField{"RzNumericEdit3", *normFlux});
    };
    if (e.norm == Norm::BeforeBox) showNorm();
    if (!e.text.empty())
        effects.push_back(ShowMessage{std::string(e.text), std::string(e.caption)});
    if (e.norm == Norm::AfterBox) showNorm();
    if (!e.focus.empty()) effects.push_back(MoveFocus{std::string(e.focus)});
    if (e.thenSuccess) effects.push_back(SetResult{ResultText(engine, thickness, separator)});
}

// Location and covering: true unless the first row is chosen.
bool Flag(const Inputs& in, std::string_view choice) {
    return in.Choice(choice) != 0;
}

int32_t Whole(const Inputs& in, std::string_view field) {
    return ToInt32(in.Field(field));
}

} // namespace

std::vector<Effect> Calculate(int method, const Inputs& in, T_calc& engine,
                              std::string_view decimalSeparator) {
    std::vector<Effect> effects;
    if (method < 0 || method >= CalcMethodCount) return effects;

    const int32_t material = MaterialIndexFromValue(in.materialValue);
    const int32_t diameter = in.Choice("RzComboBox3");
    const bool pipe = in.Choice("RzRadioGroup1") != 1;          // unless "Плоскость"
    const bool upTo5000Hours = in.Choice("RzRadioGroup4") == 0; // "Не более 5000 в год"
    EngineMessagesInto engineMessages(engine, effects);
    double thickness = 0;

    switch (method) {
    case 0: {
        double normFlux = 0;
        const int32_t status = engine.CalcByNormFlux(
            pipe, upTo5000Hours, Flag(in, "RzRadioGroup2"), Flag(in, "RzRadioGroup3"),
            Whole(in, "RzNumericEdit1"), Whole(in, "RzNumericEdit2"), diameter,
            in.Choice("RzComboBox5"), in.Choice("RzRadioGroup2"), material, normFlux, thickness);
        Conclude(effects, NormFluxStatuses, status, normFlux, engine, thickness, decimalSeparator);
        break;
    }
    case 1: {
        const int32_t status =
            engine.CalcBySurfaceTemp(pipe, Flag(in, "RzRadioGroup2"), Flag(in, "RzRadioGroup3"),
                                     Whole(in, "RzNumericEdit6"), Whole(in, "RzNumericEdit7"),
                                     Whole(in, "RzNumericEdit8"), diameter, material, thickness);
        Conclude(effects, SurfaceTempStatuses, status, std::nullopt, engine, thickness,
                 decimalSeparator);
        break;
    }
    case 2: {
        // The field keeps the raised humidity whatever the engine says.
        double humidity = in.Field("RzNumericEdit13");
        const double lowest = NumberField("RzNumericEdit13").limits->min;
        if (!(humidity >= lowest)) {
            humidity = lowest;
            effects.push_back(SetField{"RzNumericEdit13", humidity});
        }
        const int32_t status = engine.CalcAgainstCondensation(
            pipe, Flag(in, "RzRadioGroup3"), Whole(in, "RzNumericEdit11"),
            Whole(in, "RzNumericEdit12"), ToInt32(humidity), diameter, material, thickness);
        Conclude(effects, CondensationStatuses, status, std::nullopt, engine, thickness,
                 decimalSeparator);
        break;
    }
    case 3: {
        // The hours choice is visible on this page, so it picks the channel norm too.
        engine.UpTo5000Hours = upTo5000Hours;
        const int32_t status = engine.CalcTwoPipeChannel(
            in.Choice("RzComboBox4"), in.Field("RzNumericEdit21"), in.Field("RzNumericEdit22"),
            in.Field("RzNumericEdit17"), in.Field("RzNumericEdit18"), Whole(in, "RzNumericEdit16"),
            diameter, material, thickness);
        Conclude(effects, TwoPipeChannelStatuses, status, std::nullopt, engine, thickness,
                 decimalSeparator);
        break;
    }
    case 4: {
        if (!WallFitsPipe(Whole(in, "RzNumericEdit26"), diameter)) {
            effects.push_back(
                ShowMessage{std::string(WallTooThick), std::string(InputErrorCaption)});
            effects.push_back(MoveFocus{"RzNumericEdit26"});
            break;
        }
        const int32_t status = engine.CalcAgainstFreezing(
            Whole(in, "RzNumericEdit25"), double(Whole(in, "RzNumericEdit26")),
            Whole(in, "RzNumericEdit28"), Whole(in, "RzNumericEdit27"), diameter, material,
            in.Choice("RzComboBox2"), thickness);
        Conclude(effects, FreezingStatuses, status, std::nullopt, engine, thickness,
                 decimalSeparator);
        break;
    }
    }
    return effects;
}

std::string FormatThickness(int32_t millimetres, std::string_view decimalSeparator) {
    const std::string sign = millimetres < 0 ? "-" : "";
    const int64_t magnitude = millimetres < 0 ? -int64_t{millimetres} : int64_t{millimetres};
    // Whole millimetres: the digit after the separator is always 0.
    if (magnitude < 100'000)
        return sign + std::to_string(magnitude) + std::string(decimalSeparator) + "0";

    // Five significant digits; the rest rounds half up.
    int exponent = int(std::to_string(magnitude).size()) - 1;
    int64_t scale = 1;
    for (int i = 0; i < exponent - 4; ++i)
        scale *= 10;
    int64_t digits = magnitude / scale;
    if ((magnitude % scale) * 2 >= scale) ++digits;
    if (digits == 100'000) { // 9.99995E+05 rounds to 1.0000E+06
        digits = 10'000;
        ++exponent;
    }
    const std::string d = std::to_string(digits);
    const std::string e = std::to_string(exponent);
    return sign + d.substr(0, 1) + std::string(decimalSeparator) + d.substr(1) + "E+" +
           (e.size() < 2 ? "0" : "") + e;
}

} // namespace workflow
