// The schedule as a table that a spreadsheet with Russian settings opens as it is: UTF-8
// with a byte order mark, «;» between fields, CR LF after every record, a decimal comma.
// Texts are quoted (a quote inside doubled), numbers are not, an empty field is a value the
// row does not have. A text that a spreadsheet would run as a formula (it begins with «=»,
// «+», «-», «@», a tab or a carriage return) is led by an apostrophe, which shows it as
// text. docs/schedule-format.md describes the columns; an import finds them by their
// headings.
#pragma once

#include "Schedule.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace workflow {

// The headings of the columns every table has, in order (ScheduleColumns). A column per
// input caption follows, in the order the rows first show them; an input whose caption is
// one of these headings is in that column already.
std::vector<std::string_view> ScheduleCsvColumns();

// How the table's text is written: UTF-8 with a byte order mark, which Excel opens as it is
// on a double click; or Windows-1251 with no mark, for the spreadsheets and programs of a
// Russian office that read only that (a character it lacks is written as its nearest
// likeness, or «?»: Utf8ToWindows1251).
enum class CsvEncoding { Utf8WithBom, Windows1251 };

std::string ScheduleCsv(const std::vector<ScheduleRow>& rows,
                        CsvEncoding encoding = CsvEncoding::Utf8WithBom);

struct CsvField {
    std::string text;
    bool quoted = false;
    bool operator==(const CsvField&) const = default;
};
using CsvRecord = std::vector<CsvField>;

// The records and fields of a table written as above, or with another separator: a leading
// byte order mark is skipped, a record may end in CR LF or LF, quotes are undone. None when
// a quote is left open, a quoted field runs on past its closing quote or an unquoted one
// holds a quote; then `brokenRecord`, if given, receives the record's number from 1.
std::optional<std::vector<CsvRecord>> SplitCsv(std::string_view text, char separator = ';',
                                               std::size_t* brokenRecord = nullptr);

// A text cell: quoted, a quote inside doubled, and led by an apostrophe where a spreadsheet
// would run the text as a formula.
void AppendCsvText(std::string& out, std::string_view text);

// A text cell as it was before the export led it with an apostrophe: one leading
// apostrophe fewer where it guards a formula, the cell as it is otherwise («'abc» stays).
std::string_view UnguardedText(std::string_view cell);

// A table to fill in for an import: the columns an import reads and a line of each kind
// with the inputs the window opens with.
std::string ImportTemplateCsv();

} // namespace workflow
