// The one-page report of each kind of calculation: its template, built from constant tables
// of boxes, and what fills it from one snapshot of the inputs and the result shown for them.
// Plain C++, so that the window's printer and the browser's page print the same report.
#pragma once

#include "Placeholders.h"
#include "Template.h"

#include "InputModel.h"
#include "ShownResult.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace reporttemplate {

// The block of the check at the accepted thickness, below the result of every template: a
// heading and rows of a label and a value, hidden until a report shows a check.
inline constexpr int CheckRows = 7;
std::string CheckHeadingBox();
std::string CheckLabelBox(int row);
std::string CheckValueBox(int row);

// The author that the program's printed documents name in their metadata.
inline constexpr std::string_view ReportAuthor = "Программа расчёта теплоизоляции";

// The title of a report, which also names its file: "Толщина изоляции — <kind> — <date>".
std::string ReportTitle(int calcMethod, std::string_view isoDate);

// One template per kind of calculation, in the kinds' order. The window owns one set for
// its whole life: the templates keep the values and visible flags of the last report of
// their kind.
struct ReportTemplates {
    ReportTemplates();
    std::array<Template, workflow::CalcMethodCount> byKind;

    // The template of a kind of calculation; nullptr for any other number.
    Template* ForKind(int calcMethod);
};

// The day of a report as its title writes it, and the separator of the figures that the
// check's rows spell out themselves.
struct FillDate {
    std::string iso; // "2024-03-05"
    std::string decimalPoint = ",";
};

// For a kind of calculation: sets every variable that a box of that kind's template shows,
// the visible flags of its diameter row, of the no-result line and of the check's rows, and
// the document's title and author. A thickness is printed only when it was computed from
// the printed inputs; otherwise "—" and the no-result line. Any other kind: nullptr, and
// nothing changes.
Template* FillReport(ReportTemplates& templates, int calcMethod, const workflow::Inputs& inputs,
                     const workflow::ShownResult& result, const FillDate& date);

// The printed boxes of a kind's report for these inputs and this shown result, their texts
// final: what a front end without the program's painter draws. Empty for an unknown kind.
std::vector<FilledBox> FilledBoxes(int calcMethod, const workflow::Inputs& inputs,
                                   const workflow::ShownResult& result, const Formats& formats,
                                   std::string_view isoDate);

} // namespace reporttemplate
