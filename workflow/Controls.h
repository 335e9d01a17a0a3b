// The controls of the main window that the workflow names, as one list: each is an id of
// `Control` and its Qt objectName is the same word, so a misspelt control fails to compile
// and no name is written twice. The window maps the ids to its widgets once. And the pages
// of the kinds of calculation, whose list is what makes their number.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace workflow {

// clang-format off
#define IZOL_WORKFLOW_CONTROLS(X)                                                                  \
    /* choices */                                                                                  \
    X(RzRadioGroup1) X(RzRadioGroup2) X(RzRadioGroup3) X(RzRadioGroup4)                            \
    X(RzComboBox3) X(RzComboBox5) X(RzComboBox4) X(RzComboBox2)                                    \
    /* the material list */                                                                        \
    X(RzComboBox1)                                                                                 \
    /* number fields */                                                                            \
    X(RzNumericEdit1) X(RzNumericEdit2) X(RzNumericEdit3) X(RzNumericEdit6) X(RzNumericEdit7)      \
    X(RzNumericEdit8) X(RzNumericEdit11) X(RzNumericEdit12) X(RzNumericEdit13) X(RzNumericEdit16)  \
    X(RzNumericEdit17) X(RzNumericEdit18) X(RzNumericEdit21) X(RzNumericEdit22) X(RzNumericEdit24) \
    X(RzNumericEdit25) X(RzNumericEdit26) X(RzNumericEdit27) X(RzNumericEdit28)                    \
    /* captions, pictures and a backdrop that the choice of a kind or the object shows */          \
    X(RzLabel11) X(RzLabel16) X(RzLabel17) X(RzLabel18) X(RzLabel31)                               \
    X(Image4) X(Image6) X(Image7) X(Image22) X(Image24) X(Shape2)
// clang-format on

enum class Control {
#define IZOL_CONTROL_ID(name) name,
    IZOL_WORKFLOW_CONTROLS(IZOL_CONTROL_ID)
#undef IZOL_CONTROL_ID
};

inline constexpr std::array ControlNames = {
#define IZOL_CONTROL_NAME(name) std::string_view(#name),
    IZOL_WORKFLOW_CONTROLS(IZOL_CONTROL_NAME)
#undef IZOL_CONTROL_NAME
};
inline constexpr std::size_t ControlCount = ControlNames.size();

// The control's objectName in the window.
constexpr std::string_view ObjectName(Control control) {
    return ControlNames[std::size_t(control)];
}

// The control of that objectName, if the workflow names it.
constexpr std::optional<Control> ControlNamed(std::string_view objectName) {
    for (std::size_t i = 0; i < ControlCount; ++i)
        if (ControlNames[i] == objectName) return Control(i);
    return std::nullopt;
}

// The page of each kind of calculation by its objectName, in group-bar order.
inline constexpr std::array KindPages = {
    std::string_view("DensityHeatThred"),
    std::string_view("TemperatureSurface"),
    std::string_view("CondensationMoisture"),
    std::string_view("Lining"),
    std::string_view("Water"),
};
// The kinds are numbered 0..CalcMethodCount-1.
inline constexpr int CalcMethodCount = int(KindPages.size());

} // namespace workflow
