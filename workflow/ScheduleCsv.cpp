#include "ScheduleCsv.h"

#include "AcceptedCheck.h"
#include "CalcKinds.h"
#include "FieldBehaviours.h"
#include "MethodSelection.h"
#include "ScheduleColumns.h"
#include "Windows1251.h"

#include <algorithm>

namespace workflow {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr char Separator = ';';
constexpr std::string_view LineEnd = "\r\n";

// Whether a spreadsheet would run the text as a formula: it begins with a character that
// starts one. One behind apostrophes counts too, so that a text typed with an apostrophe of
// its own gets one more, and the import, taking one off, gives it back whole.
bool StartsAFormula(std::string_view text) {
    const std::size_t first = text.find_first_not_of('\'');
    return first != std::string_view::npos &&
           std::string_view("=+-@\t\r").find(text[first]) != std::string_view::npos;
}

// With a decimal comma and no grouping; nothing for a value that is no number.
void AppendNumber(std::string& out, double value, int decimals, bool dropTrailingZeros) {
    out += DecimalText(value, decimals, ",", dropTrailingZeros);
}

bool IsFixedColumn(std::string_view heading) {
    return std::ranges::any_of(ScheduleColumns(),
                               [&](const ScheduleColumn& c) { return c.heading == heading; });
}

// The columns of the table, or those of the import's template.
std::vector<const ScheduleColumn*> FixedColumns(bool imported) {
    std::vector<const ScheduleColumn*> columns;
    for (const ScheduleColumn& column : ScheduleColumns())
        if (!column.heading.empty() && (column.imported || !imported)) columns.push_back(&column);
    return columns;
}

// A text cell in the table's encoding: a text is guarded from formulas as it will be read.
void AppendText(std::string& out, std::string_view text, CsvEncoding encoding) {
    if (encoding == CsvEncoding::Windows1251)
        AppendCsvText(out, Utf8ToWindows1251(text));
    else
        AppendCsvText(out, text);
}

// A column's field: a figure unquoted, and empty where the row has none.
void AppendCell(std::string& out, const ScheduleColumn& column, const RowAt& at,
                CsvEncoding encoding) {
    const std::string text = column.text(at);
    if (!column.figure)
        AppendText(out, text, encoding);
    else if (text != NoResultText)
        out += text;
}

std::vector<std::string> InputColumns(const std::vector<ScheduleRow>& rows) {
    std::vector<std::string> captions;
    for (const ScheduleRow& row : rows)
        for (const ScheduleInput& input : row.inputs)
            if (!IsFixedColumn(input.caption) &&
                std::ranges::find(captions, input.caption) == captions.end())
                captions.push_back(input.caption);
    return captions;
}

// A plane has no diameter, though its row keeps the one the window's hidden list held.
bool DiameterHidden(const ScheduleRow& row) {
    const auto object =
        std::ranges::find(row.inputs, Control::RzRadioGroup1, &ScheduleInput::control);
    return object != row.inputs.end() && !DiameterGroupVisible(int(object->value));
}

void AppendInput(std::string& out, const ScheduleRow& row, std::string_view caption,
                 CsvEncoding encoding) {
    const auto input = std::ranges::find(row.inputs, caption, &ScheduleInput::caption);
    if (input == row.inputs.end()) return;
    if (input->control == Control::RzComboBox3 && DiameterHidden(row)) return;
    if (IsChoice(input->control) || input->control == MaterialListControl)
        AppendText(out, input->text, encoding);
    else
        AppendNumber(out, input->value, 3, true);
}

// The headings of a table: the fixed ones given, then the input columns.
void AppendHeading(std::string& out, const std::vector<const ScheduleColumn*>& fixed,
                   const std::vector<std::string>& inputColumns, CsvEncoding encoding) {
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        if (i > 0) out += Separator;
        AppendText(out, fixed[i]->heading, encoding);
    }
    for (const std::string& caption : inputColumns) {
        out += Separator;
        AppendText(out, caption, encoding);
    }
    out += LineEnd;
}

// A row's record: its fixed columns, then its inputs in the input columns.
void AppendRecord(std::string& out, const std::vector<const ScheduleColumn*>& fixed,
                  const RowAt& at, const std::vector<std::string>& inputColumns,
                  CsvEncoding encoding) {
    const ScheduleRow& row = at.row;
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        if (i > 0) out += Separator;
        AppendCell(out, *fixed[i], at, encoding);
    }
    for (const std::string& caption : inputColumns) {
        out += Separator;
        AppendInput(out, row, caption, encoding);
    }
    out += LineEnd;
}

} // namespace

void AppendCsvText(std::string& out, std::string_view text) {
    out += '"';
    if (StartsAFormula(text)) out += '\'';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::vector<std::string_view> ScheduleCsvColumns() {
    std::vector<std::string_view> headings;
    for (const ScheduleColumn* column : FixedColumns(false))
        headings.push_back(column->heading);
    return headings;
}

std::string ScheduleCsv(const std::vector<ScheduleRow>& rows, CsvEncoding encoding) {
    const std::vector<const ScheduleColumn*> fixed = FixedColumns(false);
    const std::vector<std::string> inputColumns = InputColumns(rows);
    std::string out(encoding == CsvEncoding::Utf8WithBom ? ByteOrderMark : std::string_view());
    AppendHeading(out, fixed, inputColumns, encoding);
    for (std::size_t i = 0; i < rows.size(); ++i)
        AppendRecord(out, fixed, {rows[i], i + 1, ","}, inputColumns, encoding);
    return out;
}

std::string ImportTemplateCsv() {
    std::vector<ScheduleRow> rows;
    for (int kind = 0; kind < CalcMethodCount; ++kind) {
        Inputs in = InputsAfterChoosing(kind);
        for (const ExampleValue& example : Kind(kind)->example)
            in.Field(example.field) = example.value;
        std::optional<ScheduleRow> row = DescribedRow(kind, in, ",");
        if (!row) continue;
        row->tag = "Пример " + std::to_string(kind + 1);
        rows.push_back(std::move(*row));
    }
    const std::vector<const ScheduleColumn*> fixed = FixedColumns(true);
    const std::vector<std::string> inputColumns = InputColumns(rows);
    std::string out(ByteOrderMark);
    AppendHeading(out, fixed, inputColumns, CsvEncoding::Utf8WithBom);
    for (std::size_t i = 0; i < rows.size(); ++i)
        AppendRecord(out, fixed, {rows[i], i + 1, ","}, inputColumns, CsvEncoding::Utf8WithBom);
    return out;
}

std::string_view UnguardedText(std::string_view cell) {
    return cell.starts_with('\'') && StartsAFormula(cell.substr(1)) ? cell.substr(1) : cell;
}

std::optional<std::vector<CsvRecord>> SplitCsv(std::string_view text, char separator,
                                               std::size_t* brokenRecord) {
    if (text.starts_with(ByteOrderMark)) text.remove_prefix(ByteOrderMark.size());
    std::vector<CsvRecord> records;
    if (text.empty()) return records;
    const auto broken = [&] {
        if (brokenRecord) *brokenRecord = records.size() + 1;
        return std::nullopt;
    };
    const char endChars[] = {separator, '\r', '\n'};
    const std::string_view ends(endChars, std::size(endChars));
    CsvRecord record;
    std::size_t i = 0;
    for (;;) {
        CsvField field;
        if (i < text.size() && text[i] == '"') {
            field.quoted = true;
            for (++i;; ++i) {
                if (i == text.size()) return broken();
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"')
                        ++i;
                    else
                        break;
                }
                field.text += text[i];
            }
            ++i;
        } else {
            const std::size_t end = std::min(text.find_first_of(ends, i), text.size());
            field.text = text.substr(i, end - i);
            if (field.text.find('"') != std::string::npos) return broken();
            i = end;
        }
        record.push_back(std::move(field));

        if (i == text.size()) {
            records.push_back(std::move(record));
            return records;
        }
        if (text[i] == separator) {
            ++i;
            continue;
        }
        if (text.substr(i, 2) == LineEnd)
            i += 2;
        else if (text[i] == '\n')
            ++i;
        else
            return broken();
        records.push_back(std::move(record));
        record = {};
        if (i == text.size()) return records;
    }
}

} // namespace workflow
