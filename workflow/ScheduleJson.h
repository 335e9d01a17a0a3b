// The schedule file's text (docs/schedule-format.md): written and read directly, without a
// document tree, because the file is read and written whole on every change and a
// schedule of ten thousand rows must still change in a blink.
#pragma once

#include "ScheduleOperations.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace workflow {

inline constexpr int ScheduleFormatVersion = 3;

// Where a row stands in a file's text, and the id written there (0: none).
struct RowText {
    std::size_t offset = 0, length = 0;
    RowId id = NoRowId;
};

// Rows whose text is known, from an earlier reading or writing, by their ids: a row not
// changed since is written as that text again rather than made anew.
struct KnownRows {
    std::string_view text;
    std::unordered_map<RowId, RowText> byId;
};

// The file's text: one row per line, every key written; `where` gets each row's place.
std::string ScheduleJson(const Schedule& schedule, std::vector<RowText>* where = nullptr,
                         const KnownRows* known = nullptr);

struct ParsedSchedule {
    // NotSchedule: not JSON from its first byte, or JSON of another format.
    enum class Problem { None, NotSchedule, Damaged, Newer };
    Problem problem = Problem::None;
    std::size_t problemAt = 0;  // the byte where the problem was met
    Schedule schedule;          // empty unless read
    std::vector<RowText> where; // each row's place in the text read
};

// An earlier reading or writing of the same file: its text, each row's place in it, and
// the rows. A new reading takes (moves) a row from there whose text has not changed,
// instead of reading it again: another window seldom changes more than a few rows.
struct EarlierText {
    std::string_view text;
    const std::vector<RowText>* where = nullptr;
    std::vector<ScheduleRow>* rows = nullptr;
};

// The rows of a schedule file of this version or an older one. Anything else (not JSON,
// not UTF-8, another format, a value of the wrong type, a row this program could not show
// or calculate again) is Damaged, and a later version Newer: such a file is not read at
// all, never half.
ParsedSchedule ParseScheduleJson(std::string_view text, EarlierText earlier = {});

// Every complete row of a damaged file, each read from its own line as this program writes
// them, with their ids (Schedule gives a new one where two rows share one).
Schedule RecoverScheduleRows(std::string_view text);

} // namespace workflow
