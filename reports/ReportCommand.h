// The report command: copies the window's one snapshot of the inputs, and the result that
// belongs to it, into the template of a kind of calculation. The window settles the field
// being edited, reads the snapshot, calls FillReport and hands the template to
// reportengine::ShowReport.
#pragma once

#include "ReportTemplates.h"

#include "InputModel.h"
#include "ShownResult.h"

#include <QDate>

namespace reports {

// For a kind of calculation 0..4: sets every variable that a box of that kind's template
// shows, the visible flags of its diameter row and of the no-result line, and the
// document's title (with `date`); returns the template, ready for reportengine::ShowReport.
// A thickness is printed only when it was computed from the printed inputs; otherwise "—"
// and the no-result line. Any other kind: nullptr, and nothing changes.
reportengine::Template* FillReport(ReportTemplates& templates, int calcMethod,
                                   const workflow::Inputs& inputs,
                                   const workflow::ShownResult& result,
                                   QDate date = QDate::currentDate());

// The title of a report, which also names its file: "Толщина изоляции — <kind> — <date>".
QString ReportTitle(int calcMethod, QDate date);

// The author that the program's printed documents name in their metadata.
QString ReportAuthor();

} // namespace reports
