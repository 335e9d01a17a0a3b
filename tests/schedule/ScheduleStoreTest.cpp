// The schedule's file shared by several windows and processes: each change is applied to
// what the file holds at that moment, under its lock, and nothing is ever lost.
#include "ScheduleStore.h"

#include "FalsePositive.h"
#include "ScheduleRows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace schedule;
using workflow::RowId;
using workflow::ScheduleRow;

namespace {

ScheduleRow Row(const std::string& tag) {
    ScheduleRow row = workflow::RowsOfEveryKind()[1];
    row.tag = tag;
    return row;
}

std::vector<std::string> Tags(const std::vector<ScheduleRow>& rows) {
    std::vector<std::string> tags;
    for (const ScheduleRow& row : rows)
        tags.push_back(row.tag);
    return tags;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Folder {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("schedule.json"));
};

// Two windows on one file: each change lands on what the other wrote, and an undo still
// finds its rows.
TEST(ScheduleStore, TwoWindowsChangeOneFileWithoutLosingEachOthersRows) {
    Folder folder;
    ScheduleStore first(folder.path), second(folder.path);
    ASSERT_TRUE(first.Apply(workflow::AddRows({Row("А")})).applied);
    ASSERT_TRUE(second.Apply(workflow::AddRows({Row("Б")})).applied);
    ASSERT_TRUE(first.Apply(workflow::AddRows({Row("В")})).applied);
    EXPECT_EQ(Tags(LoadSchedule(folder.path).rows), (std::vector<std::string>{"А", "Б", "В"}));

    // The first deletes «Б», which it has only seen through the file; the second, which has
    // not looked since, tags «В» by its id.
    const RowId b = first.Current().Rows()[1].id, c = first.Current().Rows()[2].id;
    const auto deleted = first.Apply(workflow::DeleteRows({b}));
    ASSERT_TRUE(deleted.applied);
    ASSERT_TRUE(second.Apply(workflow::TagRow(c, "В-2")).applied);
    ASSERT_TRUE(first.Apply(deleted.undo).applied);
    EXPECT_EQ(Tags(LoadSchedule(folder.path).rows), (std::vector<std::string>{"А", "Б", "В-2"}));

    // A window that only looks sees it all.
    ScheduleStore third(folder.path);
    EXPECT_TRUE(third.Refresh(LockWait).changed);
    EXPECT_EQ(Tags(third.Current().Rows()), (std::vector<std::string>{"А", "Б", "В-2"}));
    EXPECT_FALSE(third.Refresh(LockWait).changed);
    const QStringList left = QDir(folder.dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("schedule.json")}) << left.join(' ').toStdString();
}

TEST(ScheduleStore, ALockNotHadInTimeChangesNothingAndSaysWhy) {
    Folder folder;
    ScheduleStore store(folder.path, FileOwner::Program, std::chrono::milliseconds(200));
    ASSERT_TRUE(store.Apply(workflow::AddRows({Row("А")})).applied);
    const QByteArray before = ReadAll(folder.path);

    QLockFile other(folder.path + QStringLiteral(".lock"));
    ASSERT_TRUE(other.tryLock(0));
    const auto outcome = store.Apply(workflow::ClearAllRows());
    EXPECT_FALSE(outcome.applied);
    EXPECT_TRUE(outcome.error.contains(QStringLiteral("занят другим окном программы")))
        << outcome.error.toStdString();
    EXPECT_TRUE(outcome.error.contains(QDir::toNativeSeparators(folder.path)));
    EXPECT_EQ(ReadAll(folder.path), before);
    EXPECT_EQ(store.Current().Size(), 1u);
    EXPECT_TRUE(store.Refresh(std::chrono::milliseconds(0)).error.isEmpty()); // looking is free
    other.unlock();
    EXPECT_TRUE(store.Apply(workflow::ClearAllRows()).applied);
}

// A damaged file found by a change is set aside, and the change goes on in a new file.
TEST(ScheduleStore, ADamagedFileIsSetAsideBeforeTheChange) {
    Folder folder;
    QFile damaged(folder.path);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"format\": \"izolcalc-schedule\", \"vers");
    damaged.close();
    ScheduleStore store(folder.path);
    const auto outcome = store.Apply(workflow::AddRows({Row("А")}));
    EXPECT_TRUE(outcome.applied);
    EXPECT_TRUE(outcome.error.contains(QStringLiteral("повреждён"))) << outcome.error.toStdString();
    EXPECT_EQ(Tags(LoadSchedule(folder.path).rows), std::vector<std::string>{"А"});
    const QStringList aside =
        QDir(folder.dir.path()).entryList({QStringLiteral("schedule.damaged-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(ReadAll(folder.dir.filePath(aside[0])), "{\"format\": \"izolcalc-schedule\", \"vers");
}

// A window keeps the file's text to read only what changed and to write unchanged rows as
// they stand: whatever the changes, and whoever wrote the file (another window, another
// program that lays it out its own way), what a window holds is what a fresh reading of
// the file gives.
TEST(ScheduleStore, AWindowAlwaysHoldsWhatTheFileSays) {
    Folder folder;
    ScheduleStore windows[] = {ScheduleStore(folder.path), ScheduleStore(folder.path)};
    QRandomGenerator random(7);
    std::vector<workflow::ScheduleOperation> undos;
    for (int step = 0; step < 300; ++step) {
        SCOPED_TRACE(step);
        ScheduleStore& window = windows[random.bounded(2)];
        window.Refresh(LockWait);
        const std::vector<ScheduleRow>& rows = window.Current().Rows();
        const auto any = [&] { return rows[std::size_t(random.bounded(int(rows.size())))].id; };
        workflow::ScheduleOperation operation;
        const int what = rows.empty() ? 0 : random.bounded(8);
        if (what <= 1)
            operation = workflow::AddRows({Row("н" + std::to_string(step)), Row("ещё")});
        else if (what == 2)
            operation = workflow::DeleteRows({any(), any()});
        else if (what == 3)
            operation = workflow::MoveRowBy(any(), random.bounded(2) ? 1 : -1);
        else if (what == 4)
            operation = workflow::TagRow(any(), "т" + std::to_string(step));
        else if (what == 5 && !undos.empty())
            operation = undos[std::size_t(random.bounded(int(undos.size())))];
        else if (what == 6 && random.bounded(10) == 0)
            operation = workflow::ClearAllRows();
        else if (what == 7 && random.bounded(5) == 0) {
            // Another program lays the file out its own way.
            QFile file(folder.path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            const QByteArray indented =
                QJsonDocument::fromJson(file.readAll()).toJson(QJsonDocument::Indented);
            ASSERT_FALSE(indented.isEmpty());
            file.resize(0);
            file.write(indented);
            continue;
        }
        const auto outcome = window.Apply(operation);
        ASSERT_TRUE(outcome.applied) << outcome.error.toStdString();
        undos.push_back(outcome.undo);

        const LoadResult fresh = LoadSchedule(folder.path);
        ASSERT_EQ(fresh.error, QString());
        ASSERT_EQ(window.Current().Rows(), fresh.rows);
        ASSERT_EQ(window.Current().NextId(), fresh.nextId);
    }
}

// ---- Real processes ---------------------------------------------------------------------

struct App {
    int argc = 1;
    char name[16] = "schedule_tests";
    char* argv[1] = {name};
    std::unique_ptr<QCoreApplication> app;
    App() {
        if (QCoreApplication::instance() == nullptr)
            app = std::make_unique<QCoreApplication>(argc, argv);
    }
};

TEST(ScheduleStore, TwoProcessesAddingInParallelLoseNoRow) {
    App app;
    Folder folder;
    constexpr int Each = 200;
    QProcess writers[2];
    const char* prefixes[] = {"A", "B"};
    for (int i = 0; i < 2; ++i)
        writers[i].start(QStringLiteral(SCHEDULE_WRITER),
                         {QStringLiteral("add"), folder.path, QString::number(Each),
                          QString::fromLatin1(prefixes[i])});
    for (QProcess& writer : writers) {
        ASSERT_TRUE(writer.waitForFinished(300000));
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    }

    const LoadResult loaded = LoadSchedule(folder.path);
    EXPECT_EQ(loaded.error, QString());
    ASSERT_EQ(loaded.rows.size(), std::size_t(2 * Each));
    std::set<RowId> ids;
    std::vector<std::string> mine[2];
    for (const ScheduleRow& row : loaded.rows) {
        ids.insert(row.id);
        mine[row.tag.front() == 'B'].push_back(row.tag);
    }
    EXPECT_EQ(ids.size(), loaded.rows.size());
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(mine[i].size(), std::size_t(Each));
        for (int n = 0; n < Each; ++n) // each in its own order
            // GCC 12 at -O3 sees an overlapping copy in the joined string.
            IZOL_GCC_FALSE_POSITIVE(
                "-Wrestrict",
                EXPECT_EQ(mine[i][std::size_t(n)], prefixes[i] + ("-" + std::to_string(n)));)
    }
}

// A process killed at any moment of its saving, most often in the middle of writing a
// 5000-row file, leaves the last complete file, and its lock is taken over at once.
TEST(ScheduleStore, AProcessKilledWhileSavingLeavesTheLastCompleteFile) {
    App app;
    Folder folder;
    std::vector<ScheduleRow> rows;
    for (int i = 0; i < 5000; ++i)
        rows.push_back(Row("Т" + std::to_string(i)));
    ASSERT_EQ(SaveSchedule(folder.path, rows), QString());
    const std::vector<ScheduleRow> saved = LoadSchedule(folder.path).rows;

    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        QProcess writer;
        writer.start(QStringLiteral(SCHEDULE_WRITER), {QStringLiteral("churn"), folder.path});
        ASSERT_TRUE(writer.waitForReadyRead(60000));
        QThread::msleep(QRandomGenerator::global()->bounded(5, 120));
        writer.kill(); // SIGKILL
        ASSERT_TRUE(writer.waitForFinished(10000));

        const LoadResult loaded = LoadSchedule(folder.path);
        ASSERT_EQ(loaded.error, QString()) << loaded.error.toStdString();
        ASSERT_EQ(loaded.rows.size(), saved.size());
        EXPECT_TRUE(loaded.rows.front().tag.starts_with("churn-"));
        EXPECT_TRUE(std::equal(loaded.rows.begin() + 1, loaded.rows.end(), saved.begin() + 1));

        ScheduleStore next(folder.path, FileOwner::Program, std::chrono::milliseconds(2000));
        const auto outcome = next.Apply(workflow::TagRow(saved.front().id, "Т0"));
        EXPECT_TRUE(outcome.applied) << outcome.error.toStdString();
    }
    const QStringList left = QDir(folder.dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("schedule.json")}) << left.join(' ').toStdString();
}

} // namespace
