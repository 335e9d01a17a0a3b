#include "ScheduleColumns.h"

#include <algorithm>
#include <array>
#include <type_traits>

namespace workflow {

namespace {

static_assert(std::is_same_v<decltype(ScheduleRow::kind), std::int32_t>,
              "the file keeps the kind as a 32-bit whole number");

std::string Figure(const ScheduleRow& row, double value, int decimals, std::string_view separator) {
    const std::string text = row.Calculated() ? DecimalText(value, decimals, separator) : "";
    return text.empty() ? std::string(NoResultText) : text;
}

// clang-format off
constexpr std::array Columns = {
    ScheduleColumn{.key = "id", .file = &ScheduleRow::id},
    ScheduleColumn{
        .heading = "№",
        .text = [](const RowAt& at) { return std::to_string(at.number); },
        .figure = true,
        .order = [](const RowAt& at) { return double(at.number); },
        .printed = Shown::Own, .printPercent = 3, .onPage = Shown::Own},
    ScheduleColumn{
        .heading = TagHeading,
        .text = [](const RowAt& at) { return at.row.tag; },
        .printed = Shown::Own, .printPercent = 10, .onPage = Shown::Own,
        .imported = true,
        .read = [](ScheduleRow& row, std::string_view cell) { row.tag = std::string(cell); },
        .key = "tag", .file = &ScheduleRow::tag, .required = true},
    ScheduleColumn{
        .heading = KindHeading,
        .text = [](const RowAt& at) { return std::string(KindCaption(at.row.kind)); },
        .order = [](const RowAt& at) { return double(at.row.kind); },
        .printed = Shown::Own, .printPercent = 12, .onPage = Shown::Own,
        .imported = true,
        .key = "kind", .file = &ScheduleRow::kind, .required = true},
    ScheduleColumn{
        .heading = "Объект",
        .text = [](const RowAt& at) { return at.row.object; },
        .printed = Shown::Own, .printPercent = 11, .onPage = Shown::Own,
        .imported = true,
        .key = "object", .file = &ScheduleRow::object, .required = true},
    ScheduleColumn{
        .heading = "Расположение",
        .text = [](const RowAt& at) { return at.row.location; },
        .printed = Shown::Below,
        .imported = true,
        .key = "location", .file = &ScheduleRow::location, .required = true},
    ScheduleColumn{
        .heading = "Покрытие",
        .text = [](const RowAt& at) { return at.row.covering; },
        .printed = Shown::Below, .printLabel = "покрытие: ",
        .imported = true,
        .key = "covering", .file = &ScheduleRow::covering, .required = true},
    ScheduleColumn{
        .heading = "Материал",
        .text = [](const RowAt& at) { return at.row.material; },
        .printed = Shown::Own, .printPercent = 12, .onPage = Shown::Own,
        .imported = true,
        .key = "material", .file = &ScheduleRow::material, .required = true},
    ScheduleColumn{.key = "materialValue", .file = &ScheduleRow::materialValue},
    ScheduleColumn{
        .heading = "Исходные данные",
        .text = [](const RowAt& at) { return InputsText(at.row); },
        .printed = Shown::Own, .printPercent = 24, .onPage = Shown::Own,
        .key = "inputs", .file = &ScheduleRow::inputs, .required = true},
    ScheduleColumn{
        .heading = "Толщина расчётная, мм",
        .text = [](const RowAt& at) { return Figure(at.row, at.row.requiredMm, 1, at.decimalSeparator); },
        .figure = true,
        .order = [](const RowAt& at) { return at.row.requiredMm; },
        .printed = Shown::Own, .printPercent = 7.5, .onPage = Shown::Own,
        .key = "requiredMm", .file = &ScheduleRow::requiredMm, .required = true},
    ScheduleColumn{
        .heading = "Толщина принятая, мм",
        .text = [](const RowAt& at) { return Figure(at.row, at.row.acceptedMm, 0, at.decimalSeparator); },
        .figure = true,
        .order = [](const RowAt& at) { return double(at.row.acceptedMm); },
        .printed = Shown::Own, .printPercent = 7.5, .onPage = Shown::Own,
        .key = "acceptedMm", .file = &ScheduleRow::acceptedMm, .required = true},
    ScheduleColumn{
        .heading = "Проверка",
        .text = [](const RowAt& at) { return CheckFiguresOf(at.row); },
        .printed = Shown::Own, .printPercent = 13, .onPage = Shown::Own,
        .key = "checkFigures", .file = &ScheduleRow::checkFigures, .required = true},
    // Versions 1 and 2 have «checkMet» instead, which the file's reader judges.
    ScheduleColumn{.key = "checkState", .file = &ScheduleRow::checkState, .required = true},
    ScheduleColumn{
        .heading = "Требование",
        .text = [](const RowAt& at) { return CheckVerdictOf(at.row); },
        .order = [](const RowAt& at) { return double(at.row.checkState); },
        // A shortfall, or no thickness at all, is what the checking engineer must not miss.
        .accented = [](const ScheduleRow& row) { return CheckAccented(row.checkState); },
        .printed = Shown::Below, .onPage = Shown::Below,
        // For people and other programs that read the file; the state above is what is read.
        .key = "checkVerdict", .file = +[](const RowAt& at) { return CheckVerdictOf(at.row); }},
    ScheduleColumn{.key = "meetingMm", .file = &ScheduleRow::meetingMm},
    ScheduleColumn{
        .heading = "Дата и время",
        .text = [](const RowAt& at) { return at.row.calculatedAt; },
        .key = "calculatedAt", .file = &ScheduleRow::calculatedAt, .required = true},
    // Added by version 2: a row of version 1 has neither.
    ScheduleColumn{.key = "rejection", .file = &ScheduleRow::rejection},
    ScheduleColumn{.key = "warning", .file = &ScheduleRow::warning},
};
// clang-format on

static_assert(Columns.size() <= MostScheduleColumns);
// A view's cell joins a column to the one before it; a table or a file with none is no help.
static_assert(std::ranges::all_of(Columns, [](const ScheduleColumn& c) {
    return (c.heading.empty() || c.text) && (!c.heading.empty() || !c.key.empty()) &&
           (c.printed == Shown::Own) == (c.printPercent > 0) &&
           (c.key.empty() == std::holds_alternative<std::monostate>(c.file));
}));

} // namespace

std::span<const ScheduleColumn> ScheduleColumns() {
    return Columns;
}

std::vector<ViewColumn> ViewColumns(Shown ScheduleColumn::*view) {
    std::vector<ViewColumn> columns;
    for (const ScheduleColumn& column : Columns) {
        if (column.*view == Shown::Own)
            columns.push_back({column.heading, column.printPercent, {&column}});
        else if (column.*view == Shown::Below && !columns.empty())
            columns.back().parts.push_back(&column);
    }
    return columns;
}

std::string LowerFirst(std::string text) {
    if (text.empty()) return text;
    const auto c = static_cast<unsigned char>(text[0]);
    if (c >= 'A' && c <= 'Z') {
        text[0] = char(c - 'A' + 'a');
    } else if (c == 0xD0 && text.size() > 1) {
        const auto d = static_cast<unsigned char>(text[1]);
        if (d == 0x81) // Ё
            text.replace(0, 2, "ё");
        else if (d >= 0x90 && d <= 0x9F) // А..П
            text[1] = char(d + 0x20);
        else if (d >= 0xA0 && d <= 0xAF) // Р..Я
            text.replace(0, 2, std::string{char(0xD1), char(d - 0x20)});
    }
    return text;
}

} // namespace workflow
