#include "ScheduleFile.h"

#include "ScheduleCsv.h"
#include "ScheduleJson.h"
#include "ThicknessAnalysis.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <utility>

namespace schedule {

using workflow::ScheduleRow;

namespace {

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool Taken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink(); // a dangling link still holds the name
}

// Moves the file out of the way of the next save, or failing that copies it, and says so
// after `why`, the sentence that tells what is wrong with it.
// A lock file that names no process (one killed as it made the file) is not stale to
// QLockFile until its stale time; once it has stood a second, nobody is still writing it.
bool Orphaned(const QLockFile& lock, const QString& lockPath) {
    qint64 pid = 0;
    QString host, app;
    if (lock.getLockInfo(&pid, &host, &app)) return false;
    const QFileInfo info(lockPath);
    return info.exists() && info.lastModified().msecsTo(QDateTime::currentDateTime()) > 1000;
}

// A save killed between naming its temporary file (<file>.XXXXXX) and putting it in place
// leaves that file. With the lock held no other save is under way, so any is left over.
void RemoveLeftoverSaves(const QString& path) {
    const QFileInfo info(path);
    QDir folder = info.dir();
    const auto leftover = [&](const QString& name) {
        const QStringView random = QStringView(name).mid(info.fileName().size() + 1);
        return std::all_of(random.begin(), random.end(),
                           [](QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); });
    };
    for (const QString& name : folder.entryList({info.fileName() + QStringLiteral(".??????")},
                                                QDir::Files | QDir::Hidden))
        if (leftover(name)) folder.remove(name);
}

LoadResult SetAside(const QString& path, const QString& why) {
    LoadResult result;
    const QDateTime now = QDateTime::currentDateTime();
    QString failure;
    // A name taken between choosing it and renaming is passed over for the next one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString aside = SetAsidePathFor(path, now);
        QFile file(path);
        if (file.rename(aside)) {
            result.setAsidePath = aside;
            break;
        }
        failure = file.errorString();
        if (!Taken(aside)) {
            // Where it cannot be moved, a copy still keeps it from the next save.
            if (QFile::copy(path, aside)) result.setAsidePath = aside;
            break;
        }
    }
    if (!result.setAsidePath.isEmpty()) {
        result.error = why + QStringLiteral(" Он сохранён как «%1»; ведомость начата заново.")
                                 .arg(Shown(result.setAsidePath));
    } else {
        result.error =
            why + QStringLiteral(" Сохранить его под другим именем не удалось (%1). Файл "
                                 "оставлен на месте, и ведомость не записывается в него, пока "
                                 "его не переименуют или не уберут.")
                      .arg(failure);
    }
    return result;
}

QString WriteWhole(const QString& path, const QByteArray& bytes, const QString& failed) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return failed.arg(Shown(path),
                          QStringLiteral("не удалось создать папку «%1»").arg(Shown(folder)));
    QSaveFile file(path);
    // Without a commit the save file drops what it wrote and the old file stays.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return failed.arg(Shown(path), file.errorString());
    return {};
}

} // namespace

QByteArray ToJson(const workflow::Schedule& schedule) {
    return QByteArray::fromStdString(workflow::ScheduleJson(schedule));
}

QByteArray ToJson(const std::vector<ScheduleRow>& rows) {
    return ToJson(workflow::Schedule(rows));
}

ScheduleLock::ScheduleLock(const QString& path, std::chrono::milliseconds wait)
    : lock_(path + QStringLiteral(".lock")) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        error_ = QStringLiteral("Не удалось сохранить ведомость в файл «%1»: не удалось создать "
                                "папку «%2».")
                     .arg(Shown(path), Shown(folder));
        return;
    }
    // A lock left by a process that died is taken over at once (QLockFile sees that its
    // process is gone); one whose process lives is only older than any change can take.
    lock_.setStaleLockTime(30000);
    // Tried often, at uneven moments: QLockFile's own wait doubles its pauses up to
    // seconds, and would mostly miss the short gaps between another window's changes.
    const QDeadlineTimer deadline(wait);
    const QString lockPath = path + QStringLiteral(".lock");
    while (!lock_.tryLock(0)) {
        if (lock_.error() != QLockFile::LockFailedError || deadline.hasExpired()) break;
        if (Orphaned(lock_, lockPath) && lock_.removeStaleLockFile()) continue;
        const qint64 pause = QRandomGenerator::global()->bounded(1, 8);
        QThread::msleep(std::min<qint64>(pause, std::max<qint64>(deadline.remainingTime(), 0)));
    }
    if (lock_.isLocked()) return;
    switch (lock_.error()) {
    case QLockFile::LockFailedError:
        busy_ = true;
        error_ = QStringLiteral("Файл ведомости «%1» занят другим окном программы дольше %2 с. "
                                "Изменение не внесено: повторите его через несколько секунд.")
                     .arg(Shown(path))
                     .arg(wait.count() / 1000.0);
        break;
    case QLockFile::PermissionError:
        error_ = QStringLiteral("Ведомость «%1» не может быть изменена: нет права на запись в "
                                "папку «%2».")
                     .arg(Shown(path), Shown(folder));
        break;
    default:
        error_ =
            QStringLiteral("Файл ведомости «%1» не удалось занять для изменения.").arg(Shown(path));
        break;
    }
}

QByteArray ReadWhole(QFile& file) {
    const qint64 size = file.size();
    QByteArray bytes(qsizetype(std::max<qint64>(size, 0)), Qt::Uninitialized);
    const qint64 read = file.read(bytes.data(), bytes.size());
    bytes.resize(qsizetype(std::max<qint64>(read, 0)));
    // A file that grew meanwhile, or one whose size the system does not tell.
    if (read == size) bytes += file.readAll();
    return bytes;
}

LoadResult ReadLocked(const QString& path) {
    QFile file(path);
    if (!file.exists()) return {};
    QString why;
    if (!file.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("Файл ведомости «%1» не удалось прочитать (%2).")
                  .arg(Shown(path), file.errorString());
    } else {
        QByteArray read = ReadWhole(file);
        const bool readWhole = file.error() == QFileDevice::NoError;
        const QString readError = file.errorString();
        file.close();
        if (!readWhole) {
            why = QStringLiteral("Файл ведомости «%1» не удалось прочитать (%2).")
                      .arg(Shown(path), readError);
        } else {
            workflow::ParsedSchedule parsed = workflow::ParseScheduleJson(
                std::string_view(read.constData(), std::size_t(read.size())));
            if (parsed.problem == workflow::ParsedSchedule::Problem::None) {
                LoadResult loaded;
                loaded.nextId = parsed.schedule.NextId();
                loaded.rows = std::move(parsed.schedule).TakeRows();
                return loaded;
            }
            why = parsed.problem == workflow::ParsedSchedule::Problem::Newer
                      ? QStringLiteral("Файл ведомости «%1» записан более новой версией "
                                       "программы и не может быть прочитан.")
                            .arg(Shown(path))
                      : QStringLiteral("Файл ведомости «%1» повреждён и не может быть прочитан.")
                            .arg(Shown(path));
        }
    }
    return SetAside(path, why);
}

QString WriteLocked(const QString& path, const QByteArray& bytes) {
    RemoveLeftoverSaves(path);
    return WriteWhole(path, bytes,
                      QStringLiteral("Не удалось сохранить ведомость в файл «%1»: %2."));
}

LoadResult LoadSchedule(const QString& path) {
    if (!QFileInfo::exists(path)) return {};
    const ScheduleLock lock(path);
    if (lock.Busy()) {
        LoadResult busy;
        busy.error = lock.Error();
        return busy;
    }
    return ReadLocked(path);
}

QString SaveSchedule(const QString& path, const std::vector<ScheduleRow>& rows) {
    const ScheduleLock lock(path);
    return lock.Held() ? WriteLocked(path, ToJson(rows)) : lock.Error();
}

QString DefaultSchedulePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // No folder is no path rather than one at the root of the disk.
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/schedule.json");
}

QString WriteScheduleCsv(const QString& path, const std::vector<ScheduleRow>& rows) {
    return WriteWhole(path, QByteArray::fromStdString(workflow::ScheduleCsv(rows)),
                      QStringLiteral("Не удалось записать таблицу ведомости в файл «%1»: %2."));
}

QString WriteAnalysisCsv(const QString& path, const std::vector<ScheduleRow>& rows) {
    return WriteWhole(path, QByteArray::fromStdString(workflow::AnalysisCsv(rows)),
                      QStringLiteral("Не удалось записать анализ толщины в файл «%1»: %2."));
}

workflow::ImportResult ImportCsvFile(const QString& path, const QDateTime& now,
                                     std::string_view decimalSeparator,
                                     const workflow::ImportProgress& progress,
                                     const ReadProgress& reading) {
    QFile file(path);
    workflow::ImportResult result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.fileProblem = QStringLiteral("Не удалось открыть файл «%1»: %2.")
                                 .arg(Shown(path), file.errorString())
                                 .toStdString();
        return result;
    }
    if (file.size() > LargestImportFile) {
        result.fileProblem = QStringLiteral("Файл «%1» больше %2 МБ — это не таблица расчётов.")
                                 .arg(Shown(path))
                                 .arg(LargestImportFile >> 20)
                                 .toStdString();
        return result;
    }
    QByteArray bytes;
    if (!reading) {
        bytes = file.readAll();
    } else {
        // In pieces, so that a large file shows its reading and can be cancelled.
        constexpr qint64 Piece = qint64(1) << 20;
        const qint64 size = file.size();
        while (!file.atEnd() && bytes.size() <= LargestImportFile) {
            const QByteArray piece = file.read(Piece);
            if (piece.isEmpty()) break;
            bytes += piece;
            if (!reading(bytes.size(), size)) {
                result.cancelled = true;
                return result;
            }
        }
    }
    if (file.error() != QFileDevice::NoError) {
        result.fileProblem = QStringLiteral("Не удалось прочитать файл «%1»: %2.")
                                 .arg(Shown(path), file.errorString())
                                 .toStdString();
        return result;
    }
    return workflow::ImportScheduleCsv(
        std::string_view(bytes.constData(), std::size_t(bytes.size())),
        now.toString(Qt::ISODate).toStdString(), decimalSeparator, progress);
}

QString WriteImportTemplate(const QString& path) {
    return WriteWhole(path, QByteArray::fromStdString(workflow::ImportTemplateCsv()),
                      QStringLiteral("Не удалось записать шаблон в файл «%1»: %2."));
}

QString SetAsidePathFor(const QString& path, const QDateTime& at) {
    const QFileInfo info(path);
    const QString stem = info.dir().filePath(info.completeBaseName() + QStringLiteral(".damaged-") +
                                             at.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString candidate = stem + suffix;
    for (int n = 2; Taken(candidate); ++n)
        candidate = stem + QLatin1Char('-') + QString::number(n) + suffix;
    return candidate;
}

} // namespace schedule
