#include "ScheduleCsv.h"

#include "AcceptedCheck.h"
#include "MethodSelection.h"

#include <algorithm>
#include <span>

namespace workflow {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr char Separator = ';';
constexpr std::string_view LineEnd = "\r\n";

void AppendText(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// With a decimal comma and no grouping; nothing for a value that is no number.
void AppendNumber(std::string& out, double value, int decimals, bool dropTrailingZeros) {
    out += DecimalText(value, decimals, ",", dropTrailingZeros);
}

bool IsFixedColumn(std::string_view heading) {
    return std::ranges::find(ScheduleCsvColumns, heading) != ScheduleCsvColumns.end();
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

void AppendInput(std::string& out, const ScheduleRow& row, std::string_view caption) {
    const auto input = std::ranges::find(row.inputs, caption, &ScheduleInput::caption);
    if (input == row.inputs.end()) return;
    if (IsChoice(input->control) || input->control == MaterialListControl)
        AppendText(out, input->text);
    else
        AppendNumber(out, input->value, 3, true);
}

// The headings of a table: the fixed ones given, then the input columns.
void AppendHeading(std::string& out, std::span<const std::string_view> fixed,
                   const std::vector<std::string>& inputColumns) {
    for (std::size_t i = 0; i < fixed.size(); ++i) {
        if (i > 0) out += Separator;
        AppendText(out, fixed[i]);
    }
    for (const std::string& caption : inputColumns) {
        out += Separator;
        AppendText(out, caption);
    }
    out += LineEnd;
}

// The end of a row's record: its inputs in the input columns.
void AppendInputs(std::string& out, const ScheduleRow& row,
                  const std::vector<std::string>& inputColumns) {
    for (const std::string& caption : inputColumns) {
        out += Separator;
        AppendInput(out, row, caption);
    }
    out += LineEnd;
}

// The template's example values where the window's defaults give no thickness.
struct ExampleValue {
    int kind;
    Control field;
    double value;
};
constexpr ExampleValue TemplateValues[] = {
    {0, Control::RzNumericEdit1, 5},    {0, Control::RzNumericEdit2, 150},
    {1, Control::RzNumericEdit6, 20},   {1, Control::RzNumericEdit7, 150},
    {1, Control::RzNumericEdit8, 45},   {2, Control::RzNumericEdit11, 20},
    {2, Control::RzNumericEdit12, 5},   {2, Control::RzNumericEdit13, 60},
    {4, Control::RzNumericEdit25, -30},
};

} // namespace

std::string ScheduleCsv(const std::vector<ScheduleRow>& rows) {
    const std::vector<std::string> inputColumns = InputColumns(rows);
    std::string out(ByteOrderMark);
    AppendHeading(out, ScheduleCsvColumns, inputColumns);

    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ScheduleRow& row = rows[i];
        out += std::to_string(i + 1);
        for (std::string_view text :
             {std::string_view(row.tag), KindCaption(row.kind), std::string_view(row.object),
              std::string_view(row.location), std::string_view(row.covering),
              std::string_view(row.material)}) {
            out += Separator;
            AppendText(out, text);
        }
        out += Separator;
        AppendText(out, InputsText(row));
        out += Separator;
        if (row.Calculated()) AppendNumber(out, row.requiredMm, 1, false);
        out += Separator;
        if (row.Calculated()) out += std::to_string(row.acceptedMm);
        out += Separator;
        AppendText(out, CheckFiguresOf(row));
        out += Separator;
        AppendText(out, CheckVerdictOf(row));
        out += Separator;
        AppendText(out, row.calculatedAt);
        AppendInputs(out, row, inputColumns);
    }
    return out;
}

std::string ImportTemplateCsv() {
    std::vector<ScheduleRow> rows;
    for (int kind = 0; kind < CalcMethodCount; ++kind) {
        Inputs in = InputsAfterChoosing(kind);
        for (const ExampleValue& example : TemplateValues)
            if (example.kind == kind) in.Field(example.field) = example.value;
        std::optional<ScheduleRow> row = DescribedRow(kind, in, ",");
        if (!row) continue;
        row->tag = "Пример " + std::to_string(kind + 1);
        rows.push_back(std::move(*row));
    }
    // Those of the fixed columns that an import reads: from the tag to the material.
    const std::vector<std::string> inputColumns = InputColumns(rows);
    std::string out(ByteOrderMark);
    AppendHeading(out, std::span(ScheduleCsvColumns).subspan(1, 6), inputColumns);
    for (const ScheduleRow& row : rows) {
        AppendText(out, row.tag);
        for (std::string_view text :
             {KindCaption(row.kind), std::string_view(row.object), std::string_view(row.location),
              std::string_view(row.covering), std::string_view(row.material)}) {
            out += Separator;
            AppendText(out, text);
        }
        AppendInputs(out, row, inputColumns);
    }
    return out;
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
