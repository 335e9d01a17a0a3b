#include "ScheduleStore.h"

#include "ScheduleJson.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace schedule {

ScheduleStore::ScheduleStore(QString path, std::chrono::milliseconds lockWait)
    : path_(std::move(path))
    , lockWait_(lockWait) {}

bool ScheduleStore::Read(QString& error, bool& changed) {
    QByteArray bytes;
    LoadResult loaded = ReadLocked(path_, known_, &bytes);
    if (loaded.unchanged) return true;
    error = loaded.error;
    if (!error.isEmpty() && loaded.setAsidePath.isEmpty() && QFileInfo::exists(path_)) return false;
    changed = true;
    current_ = workflow::Schedule(std::move(loaded.rows), loaded.nextId);
    known_ = std::move(bytes);
    return true;
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
    const std::string text = ScheduleJson(current_);
    const QString failed =
        WriteLocked(path_, QByteArray::fromRawData(text.data(), qsizetype(text.size())));
    if (!failed.isEmpty()) {
        // The file keeps what it had, and so do the rows shown.
        current_.Apply(outcome.undo);
        outcome.undo = {};
        known_.clear();
        outcome.error = outcome.error.isEmpty() ? failed : outcome.error + "\n\n" + failed;
        return outcome;
    }
    known_ = QByteArray(text.data(), qsizetype(text.size()));
    outcome.applied = true;
    return outcome;
}

ScheduleStore::Reread ScheduleStore::Refresh(std::chrono::milliseconds wait) {
    Reread reread;
    if (path_.isEmpty()) return reread;
    QFile file(path_);
    if (!file.exists()) {
        reread.changed = current_.Size() > 0 || !known_.isEmpty();
        current_ = workflow::Schedule();
        known_.clear();
        return reread;
    }
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError) {
            if (!known_.isEmpty() && bytes == known_) return reread;
            ParsedSchedule parsed =
                ParseScheduleJson(std::string_view(bytes.constData(), std::size_t(bytes.size())));
            if (parsed.problem == ParsedSchedule::Problem::None) {
                current_ = std::move(parsed.schedule);
                known_ = std::move(bytes);
                reread.changed = true;
                return reread;
            }
        }
    }
    const ScheduleLock lock(path_, wait);
    if (lock.Busy()) {
        reread.busy = true;
        return reread;
    }
    Read(reread.error, reread.changed);
    return reread;
}

} // namespace schedule
