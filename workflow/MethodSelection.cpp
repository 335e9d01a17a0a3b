#include "MethodSelection.h"

namespace workflow {

std::span<const ControlChange> MethodSelectionChanges(int method) {
    const CalcKind* kind = Kind(method);
    return kind ? kind->selection : std::span<const ControlChange>{};
}

} // namespace workflow
