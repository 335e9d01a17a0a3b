// The schedule's columns as one table: for each, its heading, what it shows of a row, where
// it stands in the CSV table, on paper and on the page, how the import reads it and under
// which key the file keeps it. The file, the CSV table, the print and the page all read
// this table, in its order; a new column is a member of ScheduleRow and a row here.
#pragma once

#include "Schedule.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace workflow {

inline constexpr std::string_view KindHeading = "Вид расчёта";
inline constexpr std::string_view TagHeading = "Обозначение";

// A row as a cell shows it: its position from 1 and the decimal separator of its figures.
struct RowAt {
    const ScheduleRow& row;
    std::size_t number;
    std::string_view decimalSeparator;
};

// Where a column stands in a view (the print, the page).
enum class Shown {
    No,
    Own,   // a column of its own
    Below, // in the last column of its own before it: on paper a paragraph below, on the page
           // after « — »
};

// The member of a row that the file keeps under a column's key, by its type; a text the
// file writes for its readers and never reads back; or nothing.
using FileValue =
    std::variant<std::monostate, std::string ScheduleRow::*,
                 std::optional<std::string> ScheduleRow::*, double ScheduleRow::*,
                 std::int32_t ScheduleRow::*, std::optional<std::int32_t> ScheduleRow::*,
                 RowId ScheduleRow::*, CheckState ScheduleRow::*,
                 std::vector<ScheduleInput> ScheduleRow::*, std::string (*)(const RowAt&)>;

struct ScheduleColumn {
    // Of the CSV table, the print and the page; empty for a value only the file keeps.
    std::string_view heading = {};
    // The text of its cell, as the page, the print and the CSV table show it.
    std::string (*text)(const RowAt&) = nullptr;
    // A figure: unquoted in the CSV table (where NoResultText is an empty field), centred
    // on paper, to the right on the page, and sorted by `order`.
    bool figure = false;
    double (*order)(const RowAt&) = nullptr;        // what the page sorts it by; null: its text
    bool (*accented)(const ScheduleRow&) = nullptr; // bold on paper, accent colour on the page

    Shown printed = Shown::No;
    double printPercent = 0; // of the printed table's width, for a column of its own
    // Leads a paragraph below, with the text in lower case after it: "покрытие: ".
    std::string_view printLabel = {};
    Shown onPage = Shown::No;

    // The import's template has the column and the import reads it: the kind and the
    // kind's inputs by its own means, the rest by `read` into the calculated row.
    bool imported = false;
    void (*read)(ScheduleRow&, std::string_view cell) = nullptr;

    // Its key in the file, and what is kept there; empty for a column the file does not keep.
    std::string_view key = {};
    FileValue file = {};
    // A file without the key is no schedule. A key added later is never required, so that
    // the files written before it are still read.
    bool required = false;
};

// In the order of the CSV table; the file writes its keys in this order too.
std::span<const ScheduleColumn> ScheduleColumns();
inline constexpr std::size_t MostScheduleColumns = 64; // what a reader keeps track of

// The columns a view shows, each with those shown below it in the same cell.
struct ViewColumn {
    std::string_view heading = {};
    double printPercent;
    std::vector<const ScheduleColumn*> parts; // its own first
};
std::vector<ViewColumn> ViewColumns(Shown ScheduleColumn::*view);

// A text with its first letter in lower case, Cyrillic or Latin.
std::string LowerFirst(std::string text);

} // namespace workflow
