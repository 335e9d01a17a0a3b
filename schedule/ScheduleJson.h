// The schedule file's text (docs/schedule-format.md): written and read directly, without a
// document tree, because the file is read and written whole on every change and a
// schedule of ten thousand rows must still change in a blink.
#pragma once

#include "ScheduleOperations.h"

#include <string>
#include <string_view>

namespace schedule {

inline constexpr int ScheduleFormatVersion = 3;

// The file's text: one row per line, every key written.
std::string ScheduleJson(const workflow::Schedule& schedule);

struct ParsedSchedule {
    enum class Problem { None, Damaged, Newer };
    Problem problem = Problem::None;
    workflow::Schedule schedule; // empty unless read
};

// The rows of a schedule file of this version or an older one. Anything else (not JSON,
// not UTF-8, another format, a value of the wrong type, a row this program could not show
// or calculate again) is Damaged, and a later version Newer: such a file is not read at
// all, never half.
ParsedSchedule ParseScheduleJson(std::string_view text);

} // namespace schedule
