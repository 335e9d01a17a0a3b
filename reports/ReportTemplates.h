// The five one-page report templates, one per kind of calculation, built from constant
// tables of boxes. The window owns one set for its whole life: the templates keep the
// values and visible flags of the last report of their kind.
#pragma once

#include "Template.h"

namespace reports {

// The templates store millimetres times 3.77953, their own rounding of 96/25.4.
constexpr double MmToUnits(double mm) {
    return mm * 3.77953;
}

// The block of the check at the accepted thickness, below the result of every template: a
// heading and rows of a label and a value, hidden until a report shows a check.
inline constexpr int CheckRows = 7;
QString CheckHeadingBox();
QString CheckLabelBox(int row);
QString CheckValueBox(int row);

struct ReportTemplates {
    ReportTemplates();

    reportengine::Template frxReport1; // given surface temperature (CalcMethod 1)
    reportengine::Template frxReport2; // against condensation (CalcMethod 2)
    reportengine::Template frxReport3; // by the norm density of heat flux (CalcMethod 0)
    reportengine::Template frxReport4; // against freezing (CalcMethod 4)
    reportengine::Template frxReport5; // two-pipe channel (CalcMethod 3)

    // The template of a kind of calculation, 0 to 4; nullptr for any other number.
    reportengine::Template* ForKind(int calcMethod);
};

} // namespace reports
