#include "SystemReason.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace files {

namespace {

enum class Cause {
    Unknown,
    NoSpace,
    Quota,
    NoRights,
    ReadOnlyDisk,
    InUse,
    Missing,
    LongName,
    TooLarge,
    Folder,
    Device
};

Cause LastCause() {
#ifdef Q_OS_WIN
    switch (GetLastError()) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Cause::NoSpace;
    case ERROR_ACCESS_DENIED:
        return Cause::NoRights;
    case ERROR_WRITE_PROTECT:
        return Cause::ReadOnlyDisk;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return Cause::InUse;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return Cause::Missing;
    case ERROR_FILENAME_EXCED_RANGE:
        return Cause::LongName;
    case ERROR_FILE_TOO_LARGE:
        return Cause::TooLarge;
    case ERROR_DIRECTORY:
        return Cause::Folder;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_NOT_READY:
        return Cause::Device;
    default:
        return Cause::Unknown;
    }
#else
    switch (errno) {
    case ENOSPC:
        return Cause::NoSpace;
#ifdef EDQUOT
    case EDQUOT:
        return Cause::Quota;
#endif
    case EACCES:
    case EPERM:
        return Cause::NoRights;
    case EROFS:
        return Cause::ReadOnlyDisk;
    case ETXTBSY:
    case EBUSY:
        return Cause::InUse;
    case ENOENT:
    case ENOTDIR:
        return Cause::Missing;
    case ENAMETOOLONG:
        return Cause::LongName;
    case EFBIG:
        return Cause::TooLarge;
    case EISDIR:
        return Cause::Folder;
    case EIO:
        return Cause::Device;
    default:
        return Cause::Unknown;
    }
#endif
}

} // namespace

void ClearSystemError() {
#ifdef Q_OS_WIN
    SetLastError(0);
#endif
    errno = 0;
}

QString SystemReason(const QString& path) {
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    switch (LastCause()) {
    case Cause::NoSpace:
        return QStringLiteral("Недостаточно места на диске");
    case Cause::Quota:
        return QStringLiteral("Превышена квота на диске");
    case Cause::NoRights:
        // A file that may not be written in a folder that may: the file is the one refused.
        if (QFileInfo(path).exists() && !QFileInfo(path).isWritable())
            return QStringLiteral("Файл доступен только для чтения");
        return QStringLiteral("Нет прав на запись в папку «%1»").arg(folder);
    case Cause::ReadOnlyDisk:
        return QStringLiteral("Диск доступен только для чтения");
    case Cause::InUse:
        return QStringLiteral("Файл открыт в другой программе");
    case Cause::Missing:
        return QStringLiteral("Нет такого файла или каталога");
    case Cause::LongName:
        return QStringLiteral("Слишком длинное имя файла");
    case Cause::TooLarge:
        return QStringLiteral("Файл слишком велик для этого диска");
    case Cause::Folder:
        return QStringLiteral("Это папка, а не файл");
    case Cause::Device:
        return QStringLiteral("Ошибка чтения или записи на диске");
    case Cause::Unknown:
        break;
    }
    // Qt refuses a folder in place of a file before asking the system.
    if (QFileInfo(path).isDir()) return QStringLiteral("Это папка, а не файл");
    return {};
}

} // namespace files
