// The schedule's file: the rows kept between sessions as versioned JSON
// (docs/schedule-format.md), and the rows written out as a CSV table. A file that cannot be
// read as a schedule is never lost: it is renamed aside and the user is told where.
#pragma once

#include "Schedule.h"
#include "ScheduleImport.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

namespace schedule {

QByteArray ToJson(const std::vector<workflow::ScheduleRow>& rows);

struct LoadResult {
    std::vector<workflow::ScheduleRow> rows;
    QString error;        // for a message box; empty when the file was read or is missing
    QString setAsidePath; // where an unreadable file now is; empty when it stayed
};

// No file is an empty schedule. A file that is no schedule this program can read is
// renamed aside (or, failing that, copied) and the schedule starts empty.
LoadResult LoadSchedule(const QString& path);

// Writes the whole file or nothing, creating its folder; an empty string on success,
// else what went wrong in the user's words.
QString SaveSchedule(const QString& path, const std::vector<workflow::ScheduleRow>& rows);

// schedule.json in the program's own data folder; empty when the system names none.
QString DefaultSchedulePath();

// The CSV table of the rows (workflow::ScheduleCsv), written whole or not at all; an
// empty string on success, else what went wrong in the user's words.
QString WriteScheduleCsv(const QString& path, const std::vector<workflow::ScheduleRow>& rows);

// A larger file is no table of calculations: it is not read into memory.
inline constexpr qint64 LargestImportFile = qint64(64) << 20;

// The table of calculations in the file, imported (workflow::ImportScheduleCsv) at `now`;
// a file that cannot be read gives its fileProblem.
workflow::ImportResult ImportCsvFile(const QString& path, const QDateTime& now,
                                     std::string_view decimalSeparator,
                                     const workflow::ImportProgress& progress = {});

// The table to fill in for an import (workflow::ImportTemplateCsv), written whole or not
// at all; an empty string on success, else what went wrong in the user's words.
QString WriteImportTemplate(const QString& path);

// A name in the file's folder that no file has yet, for an unreadable file set aside at
// `at`: schedule.json -> schedule.damaged-20261210-162005.json, then …-162005-2.json.
QString SetAsidePathFor(const QString& path, const QDateTime& at);

} // namespace schedule
