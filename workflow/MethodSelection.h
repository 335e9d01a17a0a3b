// The choice of the kind of calculation: the page and header of a kind and the changes to
// the common panel that choosing it makes, as the kind table gives them. The window resets
// the engine, writes "0" as the result and applies these changes.
#pragma once

#include "CalcKinds.h"

#include <span>
#include <string_view>

namespace workflow {

// The page index of Notebook is the kind plus this.
inline constexpr int FirstMethodPage = 2;

// The header: "Расчёт толщины изоляции " and the item caption in lower case. Lower-casing
// Cyrillic is left to the caller's toolkit; this gives the two parts.
inline constexpr std::string_view HeaderPrefix = "Расчёт толщины изоляции ";

// What choosing kind `method` changes on the common panel and its page, in order; empty
// outside the table. Choosing "Труба" is a change of the object like the user's own, so the
// object-kind switch follows it when the object was a plane.
std::span<const ControlChange> MethodSelectionChanges(int method);

// The inputs as the window opens and then shows kind `method`: the rows and values that
// choosing it sets. (An object chosen back to a pipe keeps the default material.)
Inputs InputsAfterChoosing(int method);

} // namespace workflow
