#include "MethodSelection.h"

namespace workflow {

std::span<const ControlChange> MethodSelectionChanges(int method) {
    const CalcKind* kind = Kind(method);
    return kind ? kind->selection : std::span<const ControlChange>{};
}

Inputs InputsAfterChoosing(int method) {
    Inputs in;
    for (const ControlChange& change : MethodSelectionChanges(method)) {
        if (change.action == ControlChange::Action::ChooseRow)
            in.Choice(change.control) = int(change.value);
        else if (change.action == ControlChange::Action::SetValue)
            in.Field(change.control) = change.value;
    }
    return in;
}

} // namespace workflow
