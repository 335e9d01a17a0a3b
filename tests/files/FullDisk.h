// A small filesystem of a test's own, so that a writer can meet a full or a read-only disk
// for real. Mounting needs root on Linux; elsewhere Mounted() is false and the test skips.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

class SmallDisk {
public:
    SmallDisk() {
#ifdef Q_OS_LINUX
        mounted_ =
            folder_.isValid() && ::mount("tmpfs", QFile::encodeName(folder_.path()).constData(),
                                         "tmpfs", 0, "size=512k") == 0;
#endif
    }
    ~SmallDisk() {
#ifdef Q_OS_LINUX
        if (mounted_) ::umount2(QFile::encodeName(folder_.path()).constData(), MNT_DETACH);
#endif
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const {
        return mounted_;
    }
    QString Path(const QString& name) const {
        return folder_.filePath(name);
    }
    QStringList Entries() const {
        return QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // Takes every byte left, with a file of its own.
    void Fill() const {
        QFile filler(Path(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        // What a block could not take, a byte at a time.
        while (filler.write("x", 1) == 1) {
        }
    }
    // No further file or byte can be written there.
    bool MakeReadOnly() const {
#ifdef Q_OS_LINUX
        return ::mount("tmpfs", QFile::encodeName(folder_.path()).constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY, "size=512k") == 0;
#else
        return false;
#endif
    }

private:
    QTemporaryDir folder_;
    bool mounted_ = false;
};
