// The schedule on paper: a title, the date and one table of all its rows, run over as many
// A4 pages as it needs, with the column headers at the top and «Лист N из M» at the foot
// of every page.
#pragma once

#include "Schedule.h"

#include <QDate>
#include <QPageLayout>
#include <QString>

#include <vector>

class QPrinter;

namespace reports {

// A4 landscape with a 20 mm binding margin on the left and 10 mm on the other sides: nine
// columns, one of them a paragraph of inputs, do not fit the short side of the sheet.
// Set it on a printer before its print dialog, so that the dialog offers it and the user
// may still change it.
QPageLayout SchedulePageLayout();

// "Ведомость толщин тепловой изоляции — 2024-03-05": the print job's and the PDF's name.
QString ScheduleTitle(QDate date);

// Paints the schedule on the printer as it is set up: its paper, orientation and margins,
// whatever the print dialog left there; SchedulePageLayout() is what it is made for. Names
// the print job by ScheduleTitle. Returns without printing when the printer cannot start.
void PrintSchedule(QPrinter& printer, const std::vector<workflow::ScheduleRow>& rows, QDate date);

// The same pages on SchedulePageLayout() as a PDF file, titled by ScheduleTitle and with the
// author of the program's reports, put in place only when whole. An empty string, or why not
// in the user's words.
QString WriteSchedulePdf(const QString& path, const std::vector<workflow::ScheduleRow>& rows,
                         QDate date);

} // namespace reports
