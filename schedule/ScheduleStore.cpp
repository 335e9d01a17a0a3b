#include "ScheduleStore.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace schedule {

ScheduleStore::ScheduleStore(QString path, FileOwner owner, std::chrono::milliseconds lockWait)
    : path_(std::move(path))
    , owner_(owner)
    , lockWait_(lockWait) {}

void ScheduleStore::Forget(bool& changed) {
    changed = changed || current_.Size() > 0 || !knownText_.empty();
    current_ = workflow::Schedule();
    knownText_.clear();
    knownWhere_.clear();
}

bool ScheduleStore::Take(const QByteArray& bytes, bool& changed) {
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    if (!knownText_.empty() && text == knownText_) return true;
    std::vector<workflow::ScheduleRow> earlier = std::move(current_).TakeRows();
    workflow::ParsedSchedule parsed =
        workflow::ParseScheduleJson(text, {knownText_, &knownWhere_, &earlier});
    if (parsed.problem != workflow::ParsedSchedule::Problem::None) {
        // The earlier rows may have been taken in part: they are read again from now on.
        Forget(changed);
        return false;
    }
    changed = true;
    current_ = std::move(parsed.schedule);
    knownText_.assign(text);
    knownWhere_ = std::move(parsed.where);
    return true;
}

bool ScheduleStore::ReadSound(bool& changed, bool& missing) {
    QFile file(path_);
    missing = !file.exists();
    if (missing) {
        Forget(changed);
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = ReadWhole(file);
    return file.error() == QFileDevice::NoError && Take(bytes, changed);
}

bool ScheduleStore::Read(QString& error, bool& changed) {
    bool missing = false;
    if (ReadSound(changed, missing)) return true;
    // Damaged or unreadable: read again for the reason in the user's words, and for the
    // program's own file, to recover its rows.
    LoadResult loaded = owner_ == FileOwner::Program ? ReadOwnLocked(path_) : ReadLocked(path_);
    error = loaded.error;
    Forget(changed);
    if (!loaded.sound) {
        if (owner_ == FileOwner::User) error += QStringLiteral(" Файл оставлен без изменений.");
        return false;
    }
    current_ = workflow::Schedule(std::move(loaded.rows), loaded.nextId);
    return true;
}

// The rows of the known text that the operation leaves as they were: a row on one line of
// its own whose id is the one written there, and that the operation does not tag.
const workflow::KnownRows& ScheduleStore::Unchanged(const workflow::ScheduleOperation& operation) {
    unchanged_.text = knownText_;
    unchanged_.byId.clear();
    unchanged_.byId.reserve(knownWhere_.size());
    for (const workflow::RowText& at : knownWhere_) {
        const std::string_view row = std::string_view(knownText_).substr(at.offset, at.length);
        if (at.id != workflow::NoRowId && row.find('\n') == std::string_view::npos)
            unchanged_.byId.emplace(at.id, at);
    }
    for (const workflow::ScheduleStep& step : operation.steps) {
        unchanged_.byId.erase(step.id);
        for (const workflow::PlacedRow& placed : step.rows)
            unchanged_.byId.erase(placed.row.id);
    }
    return unchanged_;
}

ScheduleStore::Outcome ScheduleStore::Apply(const workflow::ScheduleOperation& operation) {
    Outcome outcome;
    if (path_.isEmpty()) {
        outcome.undo = current_.Apply(operation);
        outcome.applied = true;
        outcome.error = QStringLiteral("Папка данных программы не найдена: ведомость не "
                                       "сохраняется");
        return outcome;
    }
    const ScheduleLock lock(path_, lockWait_);
    if (!lock.Held()) {
        outcome.error = lock.Error();
        return outcome;
    }
    bool changed = false;
    if (!Read(outcome.error, changed)) return outcome;
    outcome.undo = current_.Apply(operation);
    std::vector<workflow::RowText> where;
    std::string text = workflow::ScheduleJson(current_, &where, &Unchanged(operation));
    const QString failed =
        WriteLocked(path_, QByteArray::fromRawData(text.data(), qsizetype(text.size())));
    if (!failed.isEmpty()) {
        // The file keeps what it had, and so do the rows shown.
        current_.Apply(outcome.undo);
        outcome.undo = {};
        knownText_.clear();
        knownWhere_.clear();
        outcome.error = outcome.error.isEmpty() ? failed : outcome.error + "\n\n" + failed;
        return outcome;
    }
    knownText_ = std::move(text);
    knownWhere_ = std::move(where);
    outcome.applied = true;
    return outcome;
}

ScheduleStore::Reread ScheduleStore::Refresh(std::chrono::milliseconds wait) {
    Reread reread;
    if (path_.isEmpty()) return reread;
    bool missing = false;
    if (ReadSound(reread.changed, missing)) return reread;
    const ScheduleLock lock(path_, wait);
    if (lock.Busy()) {
        reread.busy = true;
        return reread;
    }
    Read(reread.error, reread.changed);
    return reread;
}

} // namespace schedule
