#include "Schedule.h"

#include "CalcKinds.h"

#include <algorithm>
#include <utility>

namespace workflow {

namespace {

constexpr std::string_view NoCurrentResult =
    "В ведомость добавляется выполненный расчёт для показанных исходных данных: нажмите "
    "«Рассчитать»";
constexpr std::string_view NoKind = "Выберите вид расчёта";

// A field's value as the window shows it: at most three decimals, no trailing zeros.
std::string ValueText(double value, std::string_view decimalSeparator) {
    const std::string text = DecimalText(value, 3, decimalSeparator, true);
    return text.empty() ? "—" : text;
}

bool OwnColumn(Control control) {
    return control == Control::RzRadioGroup1 || control == Control::RzRadioGroup2 ||
           control == Control::RzRadioGroup3 || control == Control::RzComboBox3 ||
           control == MaterialListControl;
}

// A kind that does not ask for the object calculates a pipe.
std::string ObjectText(const CalcKind& kind, const Inputs& in) {
    const bool asks = std::ranges::find(kind.reads, Control::RzRadioGroup1) != kind.reads.end();
    if (asks && in.Choice(Control::RzRadioGroup1) == 1)
        return std::string(ChoiceRowText(Control::RzRadioGroup1, 1));
    const std::string diameter(
        ChoiceRowText(Control::RzComboBox3, in.Choice(Control::RzComboBox3)));
    return std::string(ChoiceRowText(Control::RzRadioGroup1, 0)) + " " + diameter + " мм";
}

} // namespace

std::optional<ScheduleRow> DescribedRow(int method, const Inputs& now,
                                        std::string_view decimalSeparator) {
    const CalcKind* kind = Kind(method);
    if (kind == nullptr) return std::nullopt;
    ScheduleRow row;
    row.kind = method;
    row.object = ObjectText(*kind, now);
    row.location =
        kind->fixedLocation.empty()
            ? std::string(ChoiceRowText(Control::RzRadioGroup2, now.Choice(Control::RzRadioGroup2)))
            : std::string(kind->fixedLocation);
    row.covering =
        kind->fixedCovering.empty()
            ? std::string(ChoiceRowText(Control::RzRadioGroup3, now.Choice(Control::RzRadioGroup3)))
            : std::string(kind->fixedCovering);
    row.material = std::string(MaterialText(now.materialValue));
    row.materialValue = now.materialValue;
    for (Control control : kind->reads) {
        if (control == MaterialListControl) continue;
        if (IsChoice(control)) {
            const int position = now.Choice(control);
            row.inputs.push_back({control, InputCaption(control),
                                  std::string(ChoiceRowText(control, position)), double(position)});
        } else {
            const double value = now.Field(control);
            row.inputs.push_back(
                {control, InputCaption(control), ValueText(value, decimalSeparator), value});
        }
    }
    return row;
}

RowOrReason RowFromCalculation(int method, const Inputs& now, const ShownResult& shown,
                               std::string calculatedAt, std::string_view decimalSeparator) {
    std::optional<ScheduleRow> row = DescribedRow(method, now, decimalSeparator);
    if (!row) return {std::nullopt, std::string(NoKind)};
    if (shown.HasThickness() && !shown.ThicknessIsCurrent(now))
        return {std::nullopt, std::string(StaleResultHint)};
    const AcceptedCheck* check = shown.CurrentCheck(now);
    if (check == nullptr) return {std::nullopt, std::string(NoCurrentResult)};

    SetCheck(*row, *check, decimalSeparator);
    row->warning = shown.Warning();
    row->calculatedAt = std::move(calculatedAt);
    return {std::move(row), {}};
}

void SetCheck(ScheduleRow& row, const AcceptedCheck& check, std::string_view decimalSeparator) {
    row.requiredMm = check.requiredMm;
    row.acceptedMm = check.acceptedMm;
    row.checkFigures = CheckFigures(check, decimalSeparator);
    row.checkState = check.state;
    row.meetingMm = check.meetingMm;
}

Inputs InputsOfRow(const ScheduleRow& row) {
    Inputs in;
    for (const ScheduleInput& input : row.inputs) {
        if (IsChoice(input.control))
            in.Choice(input.control) = int(input.value);
        else if (input.control != MaterialListControl)
            in.Field(input.control) = input.value;
    }
    in.materialValue = row.materialValue;
    return in;
}

std::string InputCaption(Control control) {
    std::string_view caption = control == MaterialListControl ? MaterialCaption
                               : IsChoice(control)            ? Choice(control).caption
                                                              : NumberField(control).caption;
    while (!caption.empty() && (caption.back() == '.' || caption.back() == '_'))
        caption.remove_suffix(1);
    return std::string(caption);
}

std::string_view KindCaption(int kind) {
    const CalcKind* k = Kind(kind);
    return k ? k->caption : std::string_view();
}

std::string InputsText(const ScheduleRow& row) {
    std::string text;
    for (const ScheduleInput& input : row.inputs) {
        if (OwnColumn(input.control)) continue;
        if (!text.empty()) text += "; ";
        text += input.caption + ": " + input.text;
    }
    return text;
}

std::string CheckFiguresOf(const ScheduleRow& row) {
    if (!row.Calculated()) return row.rejection;
    if (row.warning.empty()) return row.checkFigures;
    return row.checkFigures + "; " + row.warning;
}

std::string CheckVerdictOf(const ScheduleRow& row) {
    if (!row.Calculated()) return std::string(RejectedVerdict);
    return CheckVerdict(row.checkState, row.meetingMm);
}

} // namespace workflow
