#include "FileSave.h"

#include "SystemReason.h"

#include <QDir>
#include <QFileInfo>

namespace files {

FileSave::FileSave(const QString& path)
    : file_(path) {}

void FileSave::Fail() {
    reason_ = SystemReason(file_.fileName());
    if (reason_.isEmpty()) reason_ = file_.errorString();
}

bool FileSave::Open() {
    ClearSystemError();
    if (file_.open(QIODevice::WriteOnly)) return true;
    Fail();
    return false;
}

bool FileSave::Commit() {
    // The save file loses an error of the last write that its own commit makes from the
    // buffer, and would then put a short file in place: the buffer is written out here.
    ClearSystemError();
    // Left uncommitted, the save file removes what it wrote when it goes.
    if (!file_.flush() || file_.error() != QFileDevice::NoError) {
        Fail();
        return false;
    }
    ClearSystemError();
    if (file_.commit()) return true;
    Fail();
    return false;
}

QString WriteWhole(const QString& path, const QByteArray& bytes) {
    const QString folder = QFileInfo(path).absolutePath();
    ClearSystemError();
    if (!QDir().mkpath(folder)) {
        const QString reason = SystemReason(path);
        return reason.isEmpty() ? QStringLiteral("Не удалось создать папку «%1»")
                                      .arg(QDir::toNativeSeparators(folder))
                                : reason;
    }
    FileSave file(path);
    if (!file.Open()) return file.Reason();
    ClearSystemError();
    if (file.Device().write(bytes) != bytes.size()) {
        const QString reason = SystemReason(path);
        return reason.isEmpty() ? file.Device().errorString() : reason;
    }
    return file.Commit() ? QString() : file.Reason();
}

QString Failure(const QString& what, const QString& path, const QString& reason) {
    return QStringLiteral("%1 «%2». %3.").arg(what, QDir::toNativeSeparators(path), reason);
}

} // namespace files
