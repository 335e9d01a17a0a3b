#include "ScheduleCsv.h"

#include "AcceptedCheck.h"

#include <algorithm>

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

} // namespace

std::string ScheduleCsv(const std::vector<ScheduleRow>& rows) {
    const std::vector<std::string> inputColumns = InputColumns(rows);
    std::string out(ByteOrderMark);
    bool first = true;
    for (std::string_view heading : ScheduleCsvColumns) {
        if (!first) out += Separator;
        first = false;
        AppendText(out, heading);
    }
    for (const std::string& caption : inputColumns) {
        out += Separator;
        AppendText(out, caption);
    }
    out += LineEnd;

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
        AppendNumber(out, row.requiredMm, 1, false);
        out += Separator;
        out += std::to_string(row.acceptedMm);
        out += Separator;
        AppendText(out, row.checkFigures);
        out += Separator;
        AppendText(out, CheckVerdictOf(row));
        out += Separator;
        AppendText(out, row.calculatedAt);
        for (const std::string& caption : inputColumns) {
            out += Separator;
            AppendInput(out, row, caption);
        }
        out += LineEnd;
    }
    return out;
}

std::optional<std::vector<CsvRecord>> SplitCsv(std::string_view text) {
    if (text.starts_with(ByteOrderMark)) text.remove_prefix(ByteOrderMark.size());
    std::vector<CsvRecord> records;
    if (text.empty()) return records;
    CsvRecord record;
    std::size_t i = 0;
    for (;;) {
        CsvField field;
        if (i < text.size() && text[i] == '"') {
            field.quoted = true;
            for (++i;; ++i) {
                if (i == text.size()) return std::nullopt;
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
            const std::size_t end = std::min(text.find_first_of(";\r\n", i), text.size());
            field.text = text.substr(i, end - i);
            if (field.text.find('"') != std::string::npos) return std::nullopt;
            i = end;
        }
        record.push_back(std::move(field));

        if (i == text.size()) {
            records.push_back(std::move(record));
            return records;
        }
        if (text[i] == Separator) {
            ++i;
            continue;
        }
        if (text.substr(i, 2) == LineEnd)
            i += 2;
        else if (text[i] == '\n')
            ++i;
        else
            return std::nullopt;
        records.push_back(std::move(record));
        record = {};
        if (i == text.size()) return records;
    }
}

} // namespace workflow
