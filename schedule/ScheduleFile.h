// The schedule's file: the rows kept between sessions as versioned JSON
// (docs/schedule-format.md), and the rows written out as a CSV table. A file that cannot be
// read as a schedule is refused and left as it is; only the program's own file, damaged,
// is copied aside and replaced by the rows that can be recovered.
#pragma once

#include "ScheduleCsv.h"
#include "ScheduleImport.h"
#include "ScheduleOperations.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QLockFile>
#include <QString>

#include <chrono>
#include <functional>
#include <vector>

namespace schedule {

QByteArray ToJson(const workflow::Schedule& schedule);
// Rows without ids get them in their order.
QByteArray ToJson(const std::vector<workflow::ScheduleRow>& rows);

struct LoadResult {
    std::vector<workflow::ScheduleRow> rows;
    workflow::RowId nextId = 1; // the file's next id
    QString error;              // for a message box; empty when the file was read
    bool sound = false;         // the rows are what the file now holds (none when missing)
    bool missing = false;       // there is no such file
    QByteArray unreadable;      // the bytes of a file that is no schedule this program reads
    QString setAsidePath;       // the program's own file, damaged: where its copy is
};

// How long a change waits for another window's change of the same file.
inline constexpr std::chrono::milliseconds LockWait{5000};

// Every window and process that reads or changes a schedule file holds this lock beside it
// (<file>.lock) meanwhile, so that no change is made to a content that another has just
// replaced. Made with the file's folder.
class ScheduleLock {
public:
    explicit ScheduleLock(const QString& path, std::chrono::milliseconds wait = LockWait);
    bool Held() const { return error_.isEmpty(); }
    // Another holds it still; otherwise a lock cannot be made there at all (a read-only
    // folder), where the file can be read but not changed.
    bool Busy() const { return busy_; }
    // Why the lock was not had, in the user's words.
    const QString& Error() const { return error_; }

private:
    QLockFile lock_;
    QString error_;
    bool busy_ = false;
};

// The whole of an open file, read at once: QIODevice::readAll grows its buffer piece by
// piece, which for a schedule of megabytes costs more than reading it.
QByteArray ReadWhole(QFile& file);

// With the lock held: the file's rows, or why it is no schedule; the file is not changed.
// No file is no rows (`missing`), and no error.
LoadResult ReadLocked(const QString& path);
// With the lock held, the program's own file: as ReadLocked, but a damaged file is copied
// aside (`setAsidePath`) and rewritten with every complete row it held, and the error says
// so. When no copy can be made, the file stays as it is and the error says why.
LoadResult ReadOwnLocked(const QString& path);
// With the lock held: writes the whole file or nothing; an empty string on success, else
// what went wrong in the user's words.
QString WriteLocked(const QString& path, const QByteArray& bytes);

// A file the user names, read under the lock: one that does not exist or is no schedule is
// refused with the reason, and left as it is.
LoadResult LoadSchedule(const QString& path);
// WriteLocked under the lock.
QString SaveSchedule(const QString& path, const std::vector<workflow::ScheduleRow>& rows);

// schedule.json in the program's own data folder; empty when the system names none.
QString DefaultSchedulePath();

// The CSV table of the rows (workflow::ScheduleCsv) in `encoding`, written whole or not at
// all; an empty string on success, else what went wrong in the user's words.
QString WriteScheduleCsv(const QString& path, const std::vector<workflow::ScheduleRow>& rows,
                         workflow::CsvEncoding encoding = workflow::CsvEncoding::Utf8WithBom);
// The thickness analysis of every row, as a table; an error text as above.
QString WriteAnalysisCsv(const QString& path, const std::vector<workflow::ScheduleRow>& rows);

// A larger file is no table of calculations: it is not read into memory.
inline constexpr qint64 LargestImportFile = qint64(64) << 20;

// Told while a file is read how many of its bytes are in; false stops the reading.
using ReadProgress = std::function<bool(qint64 read, qint64 size)>;

// The table of calculations in the file, imported (workflow::ImportScheduleCsv) at `now`;
// a file that cannot be read gives its fileProblem. Safe to run in a worker thread.
workflow::ImportResult ImportCsvFile(const QString& path, const QDateTime& now,
                                     std::string_view decimalSeparator,
                                     const workflow::ImportProgress& progress = {},
                                     const ReadProgress& reading = {});

// The table to fill in for an import (workflow::ImportTemplateCsv), written whole or not
// at all; an empty string on success, else what went wrong in the user's words.
QString WriteImportTemplate(const QString& path);

// A name in the file's folder that no file has yet, for the copy of a damaged file made at
// `at`: schedule.json -> schedule.damaged-20261210-162005.json, then …-162005-2.json.
QString SetAsidePathFor(const QString& path, const QDateTime& at);

} // namespace schedule
