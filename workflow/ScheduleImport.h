// A table of calculations brought into the schedule: one line per calculation, with the
// kind, the tag and the inputs in columns named as the export names them. Each line is
// calculated by the window's calculate command, as if the window had just opened on its
// kind, so that lines do not depend on each other or on their order.
#pragma once

#include "Schedule.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace workflow {

// A line that could not be read, by its number in the table (the heading is line 1).
struct UnreadLine {
    std::size_t line = 0;
    std::string reason;
    bool operator==(const UnreadLine&) const = default;
};

struct ImportResult {
    // Why the file as a whole cannot be read; then nothing else is set.
    std::string fileProblem;
    // A row for each line read, in the table's order: calculated, or rejected with the box
    // the window would have shown.
    std::vector<ScheduleRow> rows;
    std::vector<UnreadLine> unread;
    std::size_t lines = 0;  // the lines that hold anything
    bool cancelled = false; // stopped on request: no rows are given
    // The file was not UTF-8 and was read as Windows-1251, as Excel in a Russian office
    // saves «CSV (разделители — запятые)».
    bool windows1251 = false;
    std::size_t Rejected() const;
    bool operator==(const ImportResult&) const = default;
};

// Told after each line how many of how many are done; false stops the import.
using ImportProgress = std::function<bool(std::size_t done, std::size_t total)>;

// A longer line is not read: no calculation needs a thousandth of it.
inline constexpr std::size_t LongestImportLine = 64 * 1024;

// The lines of a table in UTF-8 (a byte order mark is skipped), or in Windows-1251 when it
// is not well-formed UTF-8 and has no byte order mark, with «;», «,» or a tab between
// fields, whichever makes a heading «Вид расчёта» of the first line; numbers with a decimal
// comma or point. The kind is its number from 1 or its caption. Headings and texts are
// compared without regard to case, runs of blanks, «ё» or Latin letters that look Cyrillic;
// a text loses the apostrophe the export puts before a formula's first character
// (UnguardedText). Rows get `calculatedAt` and figures with `decimalSeparator`.
ImportResult ImportScheduleCsv(std::string_view text, std::string_view calculatedAt,
                               std::string_view decimalSeparator,
                               const ImportProgress& progress = {});

// An import read a few lines at a time, for a caller that shows its progress between the
// steps on the thread that calculates (a browser page has only the one). The file as a whole
// is checked and split at once; Take gives what ImportScheduleCsv would have.
class ScheduleImportRun {
public:
    ScheduleImportRun(std::string_view text, std::string_view calculatedAt,
                      std::string_view decimalSeparator);
    ~ScheduleImportRun();
    ScheduleImportRun(const ScheduleImportRun&) = delete;
    ScheduleImportRun& operator=(const ScheduleImportRun&) = delete;

    // Lines of the table after the heading, and how many of them are read.
    std::size_t Total() const;
    std::size_t Done() const;
    // Reads up to `lines` more lines; false when none are left.
    bool Step(std::size_t lines);
    ImportResult Take() &&;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// «60 строк: 57 рассчитано, 3 отклонено», and «, 2 не прочитано» when lines were not read;
// then «; файл прочитан в кодировке Windows-1251» when it was.
std::string ImportSummary(const ImportResult& result);
// The lines not read, "Строка 5: …" one per line; after `shown` of them, how many more.
std::string UnreadLines(const ImportResult& result, std::size_t shown);

} // namespace workflow
