// The schedule's own file as one window or process sees it. Every change is one operation
// applied to the file's current content under the file's lock: read, apply, write. Two
// windows, or a window and the command line, that share the file thus never lose each
// other's rows.
#pragma once

#include "ScheduleFile.h"
#include "ScheduleJson.h"

#include <QByteArray>
#include <QString>

#include <chrono>

namespace schedule {

// Whose file it is: the program's own working file, found damaged, is copied aside and
// replaced by the rows it still holds; a file of the user's is then refused and left as it is.
enum class FileOwner { Program, User };

class ScheduleStore {
public:
    // An empty path keeps the rows in memory only, and each change says so.
    explicit ScheduleStore(QString path, FileOwner owner = FileOwner::Program,
                           std::chrono::milliseconds lockWait = LockWait);

    const QString& Path() const { return path_; }
    // The rows as last read or written.
    const workflow::Schedule& Current() const { return current_; }

    struct Outcome {
        bool applied = false;             // the rows changed as asked (and were written)
        workflow::ScheduleOperation undo; // what undoes the change
        QString error;                    // for a box: why not, or what else happened
    };
    Outcome Apply(const workflow::ScheduleOperation& operation);

    struct Reread {
        bool changed = false; // the file held other rows than Current() had
        bool busy = false;    // another window holds the file: try again shortly
        QString error;        // for a box: the file was set aside, or cannot be read
    };
    // The file as it is now. A sound file is read without the lock (it is only ever
    // replaced whole), so that looking leaves no trace for other windows to see; the
    // program's own file, damaged, is recovered under the lock, waiting at most `wait`.
    Reread Refresh(std::chrono::milliseconds wait);

private:
    // With the lock held: the file's rows into Current(). False when the file is unreadable
    // and stays so, so that nothing may be written over it.
    bool Read(QString& error, bool& changed);
    // The file's rows into Current() when the file is sound (or missing: no rows).
    bool ReadSound(bool& changed, bool& missing);
    bool Take(const QByteArray& bytes, bool& changed);
    void Forget(bool& changed);
    const workflow::KnownRows& Unchanged(const workflow::ScheduleOperation& operation);

    QString path_;
    FileOwner owner_;
    std::chrono::milliseconds lockWait_;
    workflow::Schedule current_;
    // The text Current() was read from or written as, and each row's place in it: a file
    // that still holds it is not read again, and its unchanged rows never are.
    std::string knownText_;
    std::vector<workflow::RowText> knownWhere_;
    workflow::KnownRows unchanged_;
};

} // namespace schedule
