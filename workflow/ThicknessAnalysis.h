// What each product thickness around the answer gives: the kind's figures from its check,
// the verdict in the check's states, and for the kinds whose requirement is a heat loss the
// loss of a year and what the layer saves against the bare pipe. The window's table and
// chart, the report's second page and the batch's table are all made from this.
#pragma once

#include "AcceptedCheck.h"
#include "InputModel.h"
#include "TCalc.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace workflow {

struct CalcKind;

// A column of the table: its heading and how its figures are written.
struct AnalysisColumn {
    std::string_view symbol; // "q", "tпов"
    std::string_view name;   // "Плотность теплового потока"
    std::string_view unit;   // "Вт/м"
    int decimals = 1;
    bool operator==(const AnalysisColumn&) const = default;
};

struct AnalysisRow {
    int32_t mm = 0;
    // In the order of the analysis's columns; the first is the kind's main figure.
    std::vector<double> figures;
    CheckState state = CheckState::NotMet;
    bool accepted = false;     // the thickness the result shows
    bool firstMeeting = false; // the thinnest product thickness that meets the requirement
    bool operator==(const AnalysisRow&) const = default;
};

struct ThicknessAnalysis {
    int method = -1;
    int32_t acceptedMm = 0;
    std::optional<int32_t> meetingMm; // the thinnest that meets; none among the products
    AnalysisColumn mainFigure;        // what the chart draws against the thickness
    CheckFigure required;             // the requirement: the chart's horizontal line
    std::vector<AnalysisColumn> columns;
    std::vector<AnalysisRow> rows; // thinnest first, in the product's steps
    // Hours of work in a year, for the kinds whose requirement is a heat loss; the last two
    // columns are then the loss of a year and the saving against the bare pipe.
    std::optional<int32_t> yearlyHours;
    bool operator==(const ThicknessAnalysis&) const = default;
};

// At most this many rows, two steps past the thinnest that meets.
inline constexpr int AnalysisRowsAtMost = 20;
inline constexpr int AnalysisStepsBeyond = 2;

inline constexpr std::string_view AnalysisTitle = "Анализ толщины";
inline constexpr std::string_view ThicknessColumn = "Толщина, мм";
// Hours of work in a year of the choice "Не более 5000 в год" and of "Свыше 5000 в год".
inline constexpr int32_t HoursUpTo5000 = 5000;
inline constexpr int32_t HoursOver5000 = 8400;

// The table of a successful calculation of `kind`: `engine` as the kind's entry left it,
// `accepted` its check as the calculate command gave it. `upTo5000Hours` picks the hours of
// a year where the kind has a yearly loss.
ThicknessAnalysis AnalyseThickness(const CalcKind& kind, int method, const T_calc& engine,
                                   const AcceptedCheck& accepted, bool upTo5000Hours);

// Calculates kind `method` on `inputs` with an engine of its own and analyses the result;
// none when the calculation gives no checked thickness.
std::optional<ThicknessAnalysis> AnalyseCalculation(int method, const Inputs& inputs);

// The check of a calculation of kind `method` on `inputs` had `mm` been accepted: its
// figures at `mm`, judged as the calculate command judges the accepted thickness, the
// method's own thickness kept. None when the calculation gives no checked thickness.
std::optional<AcceptedCheck> CheckAtThickness(int method, const Inputs& inputs, int32_t mm);

// The hours choice of the inputs: "Не более 5000 в год" is the first row.
bool UpTo5000Hours(const Inputs& inputs);

// The row's verdict in a few words: "обеспечено", "в пределах допуска", "не обеспечено",
// "вне сортамента".
std::string_view ShortVerdict(CheckState state);
// "q, Вт/м"; a column without a unit is its symbol alone.
std::string ColumnHeading(const AnalysisColumn& column);
// A figure of the table, or "—" where it has no value.
std::string AnalysisValue(double value, const AnalysisColumn& column,
                          std::string_view decimalSeparator);
// The row's marks: "принята", "первая, что обеспечивает", both, or none.
std::string RowMarks(const AnalysisRow& row);

// The table as CSV: a heading line, then a line per row, with `linePrefix` before each
// (the batch puts the schedule line there); fields separated by `;`.
std::string AnalysisCsvHeader(std::string_view prefixHeading);
std::string AnalysisCsvLines(const ThicknessAnalysis& analysis, std::string_view linePrefix,
                             std::string_view decimalSeparator);

struct ScheduleRow;
// The table of every row of a schedule, as a spreadsheet with Russian settings opens it:
// UTF-8 with a byte order mark, the row's number and tag before each line; a row that was
// not calculated has one line that says so.
std::string AnalysisCsv(const std::vector<ScheduleRow>& rows);

} // namespace workflow
