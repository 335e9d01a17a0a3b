// The schedule: calculations kept as rows of one list that the engineer checks, prints and
// hands on. Plain data and the operations on it; its file, its page and its printout are
// built on these.
#pragma once

#include "AcceptedCheck.h"
#include "Controls.h"
#include "InputModel.h"
#include "ShownResult.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace workflow {

// One input that the kind of a row reads, as the window showed it.
struct ScheduleInput {
    Control control;     // files name it by its objectName
    std::string caption; // with its unit: "Температура теплоносителя (°C)"
    std::string text;    // as shown: "150", "Труба", "108"
    double value = 0;    // a field's value or a choice's position; 0 for the material
    bool operator==(const ScheduleInput&) const = default;
};

// A row's own number in its file, which no other row of that file is ever given; 0 for a
// row not yet kept in one.
using RowId = std::uint64_t;
inline constexpr RowId NoRowId = 0;

struct ScheduleRow {
    RowId id = NoRowId;
    int kind = 0;
    std::string tag; // «Обозначение», the line's tag the user gives: «Т1-108»
    std::string object; // «Труба 108 мм», «Плоскость», «Две трубы 108 мм»
    std::string location; // «На открытом воздухе», «В помещении», «В непроходном канале»
    std::string covering; // «Металл», «Не металл», «Не металлическое»
    std::string material; // as the list shows it
    std::optional<std::string> materialValue;
    std::vector<ScheduleInput> inputs; // in the order the kind reads them
    double requiredMm = 0;             // the method's thickness as a product thickness
    int32_t acceptedMm = 0;
    std::string checkFigures; // "tпов = 44,0 °С (задана 45), q = 85,0 Вт/м"
    CheckState checkState = CheckState::NotMet;
    std::optional<int32_t> meetingMm; // a thickness that meets a shortfall
    std::string calculatedAt;         // local date and time, "2026-12-10T16:20:05"
    // An imported line the calculate command refused: the box the window would have shown,
    // and no thickness or check.
    std::string rejection;
    // The warning box the window showed before the thickness, or what an import brought
    // into a field's limits; empty for none.
    std::string warning;
    bool Calculated() const { return rejection.empty(); }
    bool operator==(const ScheduleRow&) const = default;
};

// The row of a successful calculation whose result is current; none with why not, in the
// user's words, otherwise.
struct RowOrReason {
    std::optional<ScheduleRow> row;
    std::string reason;
};
RowOrReason RowFromCalculation(int method, const Inputs& now, const ShownResult& shown,
                               std::string calculatedAt, std::string_view decimalSeparator);

// The row's thickness and check: the accepted thickness and what it gives.
void SetCheck(ScheduleRow& row, const AcceptedCheck& check, std::string_view decimalSeparator);

// A row of kind `method` that describes `in` (object, location, covering, material and the
// inputs the kind reads, as shown) and has no result yet; none outside the table.
std::optional<ScheduleRow> DescribedRow(int method, const Inputs& in,
                                        std::string_view decimalSeparator);

// The inputs of the window as the row was calculated: the defaults, and over them what
// the row's kind read.
Inputs InputsOfRow(const ScheduleRow& row);

// The heading of an input's column and its caption in a row: the control's caption
// without the dots or underlines that lead the eye to it in the window.
std::string InputCaption(Control control);

// The kind's caption, as the group bar shows it; empty outside the table.
std::string_view KindCaption(int kind);
// The inputs that have no column of their own, as one readable text:
// "Температура воздуха (°C): 20; Температура теплоносителя (°C): 150; …"
std::string InputsText(const ScheduleRow& row);
// The figures at the accepted thickness and the warning, if any; why a rejected row has
// no thickness.
std::string CheckFiguresOf(const ScheduleRow& row);
// The check's verdict (CheckVerdict); RejectedVerdict for a rejected row.
std::string CheckVerdictOf(const ScheduleRow& row);
inline constexpr std::string_view RejectedVerdict = "не рассчитано";

} // namespace workflow
