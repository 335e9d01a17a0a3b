// The choice of the kind of calculation: the five kinds with their group-bar captions and
// input pages, the header line, and the changes to the common panel that each kind makes.
// The window resets the engine, writes "0" as the result and applies these changes.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace workflow {

struct CalcMethodSpec {
    std::string_view caption;   // the item of the group bar RGCalc
    std::string_view page;      // the page of the inner container Notebook
    std::string_view shortName; // in the title and file name of its report
};

// Kinds 0..4 in group-bar order; the page index of Notebook is the kind plus 2.
std::span<const CalcMethodSpec> CalcMethods();
inline constexpr int FirstMethodPage = 2;

// The header: "Расчет толщины изоляции " and the item caption in lower case. Lower-casing
// Cyrillic is left to the caller's toolkit; this gives the two parts.
inline constexpr std::string_view HeaderPrefix = "Расчет толщины изоляции ";

struct ControlChange {
    enum class Action { Show, Hide, Enable, Disable, ChooseRow, SetValue };
    std::string_view objectName;
    Action action;
    double value = 0; // the row for ChooseRow, the number for SetValue
};

// What choosing kind `method` changes on the common panel and its page, in order; empty
// outside 0..4. Choosing "Труба" is a change of the object like the user's own, so the
// object-kind switch follows it when the object was a plane.
std::span<const ControlChange> MethodSelectionChanges(int method);

} // namespace workflow
