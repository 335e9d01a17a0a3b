// Every file the program writes is written whole beside its place and then put in place, so
// that a full disk, a kill or a refusal leaves the earlier file byte for byte; a failure
// says its reason in the user's words.
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace files {

class FileSave {
public:
    explicit FileSave(const QString& path);

    // False when the file cannot be begun; Reason() says why.
    bool Open();
    // Where the content is written between Open and Commit.
    QFileDevice& Device() { return file_; }
    // Puts what was written in place. False, with the earlier file as it was, when any of
    // it could not be written or put there; Reason() says why.
    bool Commit();
    // Why Open or Commit failed: one sentence without its stop, from the system's code.
    const QString& Reason() const { return reason_; }

private:
    void Fail();

    QSaveFile file_;
    QString reason_;
};

// Writes `bytes` as the file at `path` with the folder it needs, whole or not at all: an
// empty string, or why not (FileSave::Reason).
QString WriteWhole(const QString& path, const QByteArray& bytes);

// "<what> «<path>». <reason>." — a failure as a box or the command line tells it.
QString Failure(const QString& what, const QString& path, const QString& reason);

} // namespace files
