#include "MethodSelection.h"

#include <array>

namespace workflow {

namespace {

using enum ControlChange::Action;

// clang-format off
constexpr std::array<CalcMethodSpec, 5> Methods = {{
    {"По нормам плотности теплового потока",                               "DensityHeatThred",     "по нормам плотности теплового потока"},
    {"По заданной температуре на поверхности изоляции",                    "TemperatureSurface",   "по заданной температуре поверхности"},
    {"С целью предотвращения конденсации влаги на поверхности изоляции",    "CondensationMoisture", "против конденсации влаги"},
    {"Трубопроводов тепловых сетей двухтрубной канальной прокладки",        "Lining",               "двухтрубная канальная прокладка"},
    {"С целью предотвращения замерзания воды в трубопроводе",              "Water",                "против замерзания воды"},
}};

constexpr ControlChange NormFluxChanges[] = {
    {"RzRadioGroup1", Show}, {"RzRadioGroup1", Enable},
    {"RzRadioGroup2", Enable}, {"RzRadioGroup2", Show},
    {"RzRadioGroup3", Show}, {"RzLabel16", Show}, {"RzLabel17", Show}, {"RzLabel11", Show},
    {"RzRadioGroup4", Show}, {"RzLabel18", Show},
};
constexpr ControlChange SurfaceTempChanges[] = {
    {"RzRadioGroup1", Show}, {"RzRadioGroup1", Enable},
    {"RzRadioGroup2", Enable}, {"RzRadioGroup2", Show},
    {"RzRadioGroup3", Show}, {"RzLabel16", Show}, {"RzLabel17", Show}, {"RzLabel11", Show},
    {"RzLabel18", Hide}, {"RzRadioGroup4", Hide},
};
// Condensation is a matter of indoor air.
constexpr ControlChange CondensationChanges[] = {
    {"RzRadioGroup1", Show}, {"RzRadioGroup1", Enable},
    {"RzRadioGroup2", Disable}, {"RzRadioGroup2", ChooseRow, 1}, {"RzRadioGroup2", Hide},
    {"RzLabel16", Show}, {"RzLabel17", Show}, {"RzLabel11", Hide},
    {"RzRadioGroup3", Show}, {"RzRadioGroup4", Hide}, {"RzLabel18", Hide},
};
// A heat network is a pipe; its channel starts from typical sizes every time.
constexpr ControlChange TwoPipeChannelChanges[] = {
    {"RzRadioGroup1", ChooseRow, 0}, {"RzRadioGroup1", Disable}, {"RzRadioGroup1", Hide},
    {"RzRadioGroup2", Hide},
    {"RzNumericEdit21", SetValue, 0.5}, {"RzNumericEdit17", SetValue, 1.8},
    {"RzLabel16", Hide}, {"RzLabel17", Hide}, {"RzLabel11", Hide}, {"RzRadioGroup3", Hide},
    {"RzLabel18", Show}, {"RzRadioGroup4", Show},
};
// Freezing water stands in a pipe in the open air.
constexpr ControlChange FreezingChanges[] = {
    {"RzRadioGroup1", Hide}, {"RzRadioGroup1", Disable}, {"RzRadioGroup1", ChooseRow, 0},
    {"RzRadioGroup2", Hide}, {"RzRadioGroup2", Enable},
    {"RzLabel16", Hide}, {"RzLabel17", Hide}, {"RzLabel11", Hide}, {"RzRadioGroup3", Hide},
    {"RzLabel18", Hide}, {"RzRadioGroup4", Hide},
};
// clang-format on

} // namespace

std::span<const CalcMethodSpec> CalcMethods() {
    return Methods;
}

std::span<const ControlChange> MethodSelectionChanges(int method) {
    switch (method) {
    case 0:
        return NormFluxChanges;
    case 1:
        return SurfaceTempChanges;
    case 2:
        return CondensationChanges;
    case 3:
        return TwoPipeChannelChanges;
    case 4:
        return FreezingChanges;
    default:
        return {};
    }
}

} // namespace workflow
