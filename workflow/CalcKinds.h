// The kinds of calculation as one table: for each, its group-bar caption, the fields and lists
// of its page, what choosing it changes, the inputs it reads, the call of its engine entry,
// what each status of that entry shows and what its requirement gives at the accepted
// thickness. Adding a kind is adding its page to `KindPages` and its controls to the list of
// controls, a row here, its page to the window's layout and its report template.
#pragma once

#include "AcceptedCheck.h"
#include "Effects.h"
#include "InputModel.h"
#include "TCalc.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace workflow {

// A change that choosing a kind makes to a control of the common panel or of its page.
struct ControlChange {
    enum class Action { Show, Hide, Enable, Disable, ChooseRow, SetValue };
    Control control;
    Action action;
    double value = 0; // the row for ChooseRow, the number for SetValue
};

// Where the norm density field RzNumericEdit3 takes the norm that the entry returned.
enum class Norm { Keep, BeforeBox, AfterBox };

// What one status of an entry shows. A status without a row is a success.
struct StatusEffects {
    int32_t status;
    std::string_view text; // the box; empty for none
    std::string_view caption;
    std::optional<Control> focus; // the field to correct; none when the focus stays
    bool thenSuccess;             // a warning: the thickness is shown after the box
    Norm norm = Norm::Keep;       // by norm density of heat flux only
};

// What the engine entry gave back.
struct EntryResult {
    int32_t status = 0;
    double thickness = 0;
    std::optional<double> norm; // by norm density of heat flux only
    std::string boxDetail = {}; // what the status's box adds for these inputs
};

// Calls the kind's engine entry on the inputs. The effects that come before the entry's
// own (a raised humidity) are appended; none when the command stops before the engine
// is asked, having appended why. Figures in texts take the decimal separator given.
using RunEntry = std::optional<EntryResult> (*)(const Inputs&, T_calc&, std::vector<Effect>&,
                                                std::string_view decimalSeparator);

// What a product thickness in millimetres gives, by the kind's requirement, from what its
// entry left in the engine; the thickness that meets a shortfall is left to the caller.
using CheckAt = AcceptedCheck (*)(const T_calc&, int32_t productMm);

// A field's value in the kind's line of the import template, where the window's defaults
// give no thickness.
struct ExampleValue {
    Control field;
    double value;
};

struct CalcKind {
    std::string_view caption;        // the item of the group bar RGCalc
    std::string_view shortName;      // in the title and file name of its report
    std::string_view reportTemplate; // the name of its report template
    // Where its object lies and what covers it when its page does not ask; empty: as chosen.
    std::string_view fixedLocation;
    std::string_view fixedCovering;
    // The inputs of its page (its page is KindPages at its position), in page order.
    std::span<const NumberFieldSpec> fields;
    std::span<const ChoiceSpec> lists;
    // The controls it reads, in the order of the entry's arguments (Control::RzComboBox1 stands
    // for the material).
    std::span<const Control> reads;
    std::span<const ControlChange> selection; // what choosing it changes, in order
    std::span<const StatusEffects> statuses;
    RunEntry run;
    CheckAt check;
    // The norm lets its requirement be met by the next product thickness when the method's
    // thickness exceeds the accepted one by no more than 3 mm (СП 61.13330.2012, п. 6.12):
    // a requirement of heat flux or of surface temperature, not condensation or freezing.
    bool roundingAllowance;
    std::span<const ExampleValue> example = {};
};

// Kinds 0..4 in group-bar order.
std::span<const CalcKind> CalcKinds();
// The row of a kind; nullptr outside the table.
const CalcKind* Kind(int method);

// The controls that the calculate command reads for a kind; empty outside the table.
std::span<const Control> InputsReadBy(int method);

} // namespace workflow
