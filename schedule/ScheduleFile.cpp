#include "ScheduleFile.h"

#include "ScheduleCsv.h"
#include "ScheduleJson.h"
#include "TextLines.h"
#include "ThicknessAnalysis.h"

#include "FileSave.h"
#include "SystemReason.h"

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

QString WriteWhole(const QString& path, const QByteArray& bytes, const QString& what) {
    const QString reason = files::WriteWhole(path, bytes);
    return reason.isEmpty() ? QString() : files::Failure(what, path, reason);
}

// Why the text is no schedule this program reads, in the user's words.
QString Unreadable(const QString& path, const workflow::ParsedSchedule& parsed,
                   std::string_view text) {
    using Problem = workflow::ParsedSchedule::Problem;
    switch (parsed.problem) {
    case Problem::NotSchedule:
        return QStringLiteral("Файл «%1» не является ведомостью этой программы.").arg(Shown(path));
    case Problem::Newer:
        return QStringLiteral("Файл ведомости «%1» записан более новой версией программы и не "
                              "может быть прочитан.")
            .arg(Shown(path));
    case Problem::Damaged:
    case Problem::None:
        break;
    }
    return QStringLiteral("Файл ведомости «%1» повреждён: ошибка в строке %2 (байт %3).")
        .arg(Shown(path))
        .arg(workflow::LineAt(text, parsed.problemAt))
        .arg(parsed.problemAt + 1);
}

// With the lock held: the program's own file, damaged, is copied aside whole and replaced
// by every complete row it held. `why` says what is wrong with it.
LoadResult Recover(const QString& path, const QByteArray& bytes, const QString& why) {
    LoadResult result;
    const QString aside = SetAsidePathFor(path, QDateTime::currentDateTime());
    if (const QString failed = files::WriteWhole(aside, bytes); !failed.isEmpty()) {
        result.error = why + QStringLiteral(" Сохранить его копию не удалось. %1. Файл оставлен "
                                            "как есть, и ведомость не записывается в него, пока "
                                            "его не переименуют или не уберут.")
                                 .arg(failed);
        return result;
    }
    result.setAsidePath = aside;
    workflow::Schedule recovered = workflow::RecoverScheduleRows(
        std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (const QString failed = WriteLocked(path, ToJson(recovered)); !failed.isEmpty()) {
        result.error =
            why + QStringLiteral(" Его копия сохранена как «%1».\n\n").arg(Shown(aside)) + failed;
        return result;
    }
    result.error =
        why + QStringLiteral(" Его копия сохранена как «%1»; ").arg(Shown(aside)) +
        (recovered.Size() > 0 ? QStringLiteral("восстановлено строк: %1.").arg(recovered.Size())
                              : QStringLiteral("целых строк в нём нет, ведомость начата заново."));
    result.nextId = recovered.NextId();
    result.rows = std::move(recovered).TakeRows();
    result.sound = true;
    return result;
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
    const auto failed = [&](const QString& reason) {
        error_ = files::Failure(QStringLiteral("Не удалось изменить ведомость"), path, reason);
    };
    files::ClearSystemError();
    if (!QDir().mkpath(folder)) {
        const QString reason = files::SystemReason(path);
        failed(reason.isEmpty() ? QStringLiteral("Не удалось создать папку «%1»").arg(Shown(folder))
                                : reason);
        return;
    }
    // A lock left by a process that died is taken over at once (QLockFile sees that its
    // process is gone); one whose process lives is only older than any change can take.
    lock_.setStaleLockTime(30000);
    // Tried often, at uneven moments: QLockFile's own wait doubles its pauses up to
    // seconds, and would mostly miss the short gaps between another window's changes.
    const QDeadlineTimer deadline(wait);
    const QString lockPath = path + QStringLiteral(".lock");
    files::ClearSystemError();
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
    default: {
        // The lock file beside it could not be made: the system says why.
        const QString reason = files::SystemReason(lockPath);
        failed(reason.isEmpty()
                   ? QStringLiteral("Не удалось создать рядом с ним файл блокировки «%1»")
                         .arg(Shown(lockPath))
                   : reason);
        break;
    }
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
    LoadResult result;
    QFile file(path);
    files::ClearSystemError();
    if (!file.exists()) {
        result.missing = result.sound = true;
        return result;
    }
    const auto notRead = [&](QString reason) {
        if (reason.isEmpty()) reason = file.errorString();
        result.error =
            files::Failure(QStringLiteral("Не удалось прочитать файл ведомости"), path, reason);
        return result;
    };
    if (!file.open(QIODevice::ReadOnly)) return notRead(files::SystemReason(path));
    const QByteArray read = ReadWhole(file);
    if (file.error() != QFileDevice::NoError) return notRead(files::SystemReason(path));
    file.close();
    const std::string_view text(read.constData(), std::size_t(read.size()));
    workflow::ParsedSchedule parsed = workflow::ParseScheduleJson(text);
    if (parsed.problem != workflow::ParsedSchedule::Problem::None) {
        result.error = Unreadable(path, parsed, text);
        result.unreadable = read;
        return result;
    }
    result.nextId = parsed.schedule.NextId();
    result.rows = std::move(parsed.schedule).TakeRows();
    result.sound = true;
    return result;
}

LoadResult ReadOwnLocked(const QString& path) {
    LoadResult read = ReadLocked(path);
    if (read.error.isEmpty() || read.unreadable.isNull()) return read;
    return Recover(path, read.unreadable, read.error);
}

QString WriteLocked(const QString& path, const QByteArray& bytes) {
    RemoveLeftoverSaves(path);
    return WriteWhole(path, bytes, QStringLiteral("Не удалось сохранить ведомость в файл"));
}

LoadResult LoadSchedule(const QString& path) {
    LoadResult loaded;
    if (!QFileInfo::exists(path)) {
        loaded.missing = true;
        loaded.error = files::Failure(QStringLiteral("Не удалось открыть файл"), path,
                                      QStringLiteral("Нет такого файла или каталога"));
        return loaded;
    }
    // A folder where no lock can be made is still read: reading changes nothing.
    const ScheduleLock lock(path);
    if (lock.Busy()) {
        loaded.error = lock.Error();
        return loaded;
    }
    loaded = ReadLocked(path);
    if (!loaded.error.isEmpty()) loaded.error += QStringLiteral(" Файл оставлен без изменений.");
    return loaded;
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

QString WriteScheduleCsv(const QString& path, const std::vector<ScheduleRow>& rows,
                         workflow::CsvEncoding encoding) {
    return WriteWhole(path, QByteArray::fromStdString(workflow::ScheduleCsv(rows, encoding)),
                      QStringLiteral("Не удалось записать таблицу ведомости в файл"));
}

QString WriteAnalysisCsv(const QString& path, const std::vector<ScheduleRow>& rows) {
    return WriteWhole(path, QByteArray::fromStdString(workflow::AnalysisCsv(rows)),
                      QStringLiteral("Не удалось записать анализ толщины в файл"));
}

workflow::ImportResult ImportCsvFile(const QString& path, const QDateTime& now,
                                     std::string_view decimalSeparator,
                                     const workflow::ImportProgress& progress,
                                     const ReadProgress& reading) {
    QFile file(path);
    workflow::ImportResult result;
    // Qt's own words would be English: a reason the system does not name is said so.
    const auto reason = [&] {
        const QString said = files::SystemReason(path);
        return said.isEmpty() ? QStringLiteral("Система не сообщила причину") : said;
    };
    files::ClearSystemError();
    if (!file.open(QIODevice::ReadOnly)) {
        result.fileProblem =
            files::Failure(QStringLiteral("Не удалось открыть файл"), path, reason()).toStdString();
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
        result.fileProblem =
            files::Failure(QStringLiteral("Не удалось прочитать файл"), path, reason())
                .toStdString();
        return result;
    }
    return workflow::ImportScheduleCsv(
        std::string_view(bytes.constData(), std::size_t(bytes.size())),
        now.toString(Qt::ISODate).toStdString(), decimalSeparator, progress);
}

QString WriteImportTemplate(const QString& path) {
    return WriteWhole(path, QByteArray::fromStdString(workflow::ImportTemplateCsv()),
                      QStringLiteral("Не удалось записать шаблон в файл"));
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
