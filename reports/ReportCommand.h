// The report command as the window calls it: fills the template of a kind of calculation
// (reporttemplate::FillReport, plain C++) with the day and the separators of the program's
// locale. The window settles the field being edited, reads the snapshot, calls FillReport
// and hands the template to reportengine::ShowReport.
#pragma once

#include "KindReports.h"

#include <QDate>
#include <QString>

namespace reports {

using reporttemplate::ReportTemplates;

// reporttemplate::FillReport, dated `date`, its check's figures written with the
// separator of the default locale.
reporttemplate::Template* FillReport(ReportTemplates& templates, int calcMethod,
                                     const workflow::Inputs& inputs,
                                     const workflow::ShownResult& result,
                                     QDate date = QDate::currentDate());

// The title of a report, which also names its file: "Толщина изоляции — <kind> — <date>".
QString ReportTitle(int calcMethod, QDate date);

// The author that the program's printed documents name in their metadata.
QString ReportAuthor();

} // namespace reports
