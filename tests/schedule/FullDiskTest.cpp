// Every file the schedule writes, over an earlier file on a disk that is full or read-only:
// the earlier file stays byte for byte, nothing is left beside it, and the box says the
// system's reason in the user's words.
#include "FullDisk.h"
#include "ScheduleFile.h"
#include "ScheduleRows.h"
#include "ScheduleStore.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace schedule;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Writer {
    const char* name;
    std::function<QString(const QString& path)> write;
};

} // namespace

TEST(FullDisk, EveryWriterLeavesTheEarlierFileAndSaysWhy) {
    const std::vector<workflow::ScheduleRow> rows = workflow::RowsOfEveryKind();
    const Writer writers[] = {
        {"the schedule saved as", [&](const QString& path) { return SaveSchedule(path, rows); }},
        {"a change of the schedule",
         [&](const QString& path) {
             ScheduleStore store(path, FileOwner::User);
             const ScheduleStore::Outcome added = store.Apply(workflow::AddRows(rows));
             return added.applied ? QString() : added.error;
         }},
        {"the CSV export", [&](const QString& path) { return WriteScheduleCsv(path, rows); }},
        {"the analysis", [&](const QString& path) { return WriteAnalysisCsv(path, rows); }},
        {"the import template", [](const QString& path) { return WriteImportTemplate(path); }},
    };
    struct Disk {
        const char* name;
        bool readOnly;
        const char* reason;
    };
    const Disk disks[] = {{"full", false, "Недостаточно места на диске."},
                          {"read-only", true, "Диск доступен только для чтения."}};
    const QByteArray earlier = ToJson(std::vector<workflow::ScheduleRow>{rows.front()});
    for (const Writer& writer : writers)
        for (const Disk& d : disks) {
            SCOPED_TRACE(std::string(writer.name) + " on a " + d.name + " disk");
            SmallDisk disk;
            if (!disk.Mounted()) GTEST_SKIP() << "a small disk of the test's own needs root";
            const QString path = disk.Path(QStringLiteral("earlier.json"));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
            file.close();
            if (d.readOnly)
                ASSERT_TRUE(disk.MakeReadOnly());
            else
                disk.Fill();
            const QStringList before = disk.Entries();

            const QString error = writer.write(path);
            EXPECT_TRUE(error.endsWith(QString::fromUtf8(d.reason))) << error.toStdString();
            EXPECT_TRUE(error.contains(QStringLiteral("«%1»").arg(path))) << error.toStdString();
            EXPECT_EQ(ReadAll(path), earlier);
            EXPECT_EQ(disk.Entries(), before);
        }
}

// The program's own file, found damaged on a full disk: no copy can be made, so it is left
// as it is and nothing is written over it. (Under the store, the lock itself finds no room.)
TEST(FullDisk, AnOwnDamagedFileThatCannotBeCopiedStaysAsItIs) {
    SmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "a small disk of the test's own needs root";
    const QString path = disk.Path(QStringLiteral("schedule.json"));
    const QByteArray damaged = "{\"format\": \"izolcalc-schedule\", \"vers";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
    file.close();
    disk.Fill();
    const QStringList before = disk.Entries();

    const LoadResult read = ReadOwnLocked(path);
    EXPECT_FALSE(read.sound);
    EXPECT_TRUE(read.error.contains(QStringLiteral("Сохранить его копию не удалось. Недостаточно "
                                                   "места на диске. Файл оставлен как есть")))
        << read.error.toStdString();
    EXPECT_EQ(ReadAll(path), damaged);
    EXPECT_EQ(disk.Entries(), before);
}
