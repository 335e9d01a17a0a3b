// The calculator of the page: the inputs, the material list, the engine and the shown
// result of one browser tab, as the main window holds them. Every binding file reaches the
// same session through it.
#pragma once

#include "FieldBehaviours.h"
#include "InputModel.h"
#include "ShownResult.h"
#include "TCalc.h"

#include <emscripten/val.h>

#include <string>

namespace web {

// The page writes figures as the desktop does in its Russian locale.
inline constexpr std::string_view DecimalSeparator = ",";
inline constexpr std::string_view GroupSeparator = "\u00a0";

// A control's id by its objectName; throws for a name the workflow does not know.
workflow::Control ControlByName(const std::string& name);

class Calculator {
public:
    Calculator();

    // The kind of calculation: -1 before any is chosen.
    int Method() const { return method_; }
    const workflow::Inputs& Inputs() const { return inputs_; }
    const workflow::ShownResult& Shown() const { return shown_; }

    // Chooses a kind as the group bar does; gives the changes it makes to the controls.
    emscripten::val ChooseKind(int method);
    // A choice's row picked by the user; the material list follows the object and diameter.
    void SetChoice(const std::string& control, int row);
    // A number field's value as it stands after leaving it.
    void SetField(const std::string& control, double value);
    void ChooseMaterial(int position);
    emscripten::val MaterialRows() const;
    int ChosenMaterial() const;

    // Runs the calculate command on the inputs as they stand; the effects, in order.
    emscripten::val Calculate();
    // The result text, whether it is stale, and the check line while it is current; with
    // the field being edited counted at its typed text (none: "").
    emscripten::val ResultState(const std::string& editedControl,
                                const std::string& typedText) const;

private:
    int method_ = -1;
    workflow::Inputs inputs_;
    workflow::MaterialList materials_;
    workflow::ShownResult shown_;
    T_calc engine_;
};

} // namespace web
