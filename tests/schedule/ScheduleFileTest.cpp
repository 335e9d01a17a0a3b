#include "ScheduleFile.h"

#include "ScheduleCsv.h"
#include "ScheduleRows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>

using namespace schedule;
using workflow::ScheduleRow;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

workflow::ScheduleInput& InputOf(ScheduleRow& row, workflow::Control control) {
    for (workflow::ScheduleInput& input : row.inputs)
        if (input.control == control) return input;
    throw std::runtime_error("the row does not read " + std::string(ObjectName(control)));
}

// The rows as a file gives them back: with ids 1, 2, … in their order.
std::vector<ScheduleRow> Numbered(std::vector<ScheduleRow> rows) {
    return workflow::Schedule(std::move(rows)).Rows();
}

// The keys of a row that docs/schedule-format.md lists, as version 3 writes them: not the
// file's own `nextId`, an input's keys or the earlier versions' `checkMet`.
QStringList DocumentedRowKeys() {
    QFile file(QStringLiteral(IZOL_SCHEDULE_FORMAT));
    if (!file.open(QIODevice::ReadOnly)) return {QStringLiteral("<unreadable>")};
    const QString text = QString::fromUtf8(file.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("| key | type | meaning |"));
    const qsizetype end = text.indexOf(QStringLiteral("\n\n"), start);
    QStringList keys;
    const QRegularExpression key(QStringLiteral("`([A-Za-z]+)`"));
    for (const QString& line : text.mid(start, end - start).split(QLatin1Char('\n'))) {
        const QString cell = line.section(QLatin1Char('|'), 1, 1);
        for (auto match = key.globalMatch(cell); match.hasNext();)
            keys << match.next().captured(1);
    }
    keys.removeAll(QStringLiteral("nextId"));
    keys.removeAll(QStringLiteral("checkMet"));
    keys.sort();
    return keys;
}

// Real rows of every kind and one by hand with what a calculation seldom gives.
std::vector<ScheduleRow> Rows() {
    std::vector<ScheduleRow> rows = workflow::RowsOfEveryKind();
    ScheduleRow odd = rows[1];
    odd.tag = "«Т-1»; \"ввод\" \\ обход\nвторая строка";
    odd.materialValue.reset();
    odd.meetingMm.reset();
    odd.checkState = workflow::CheckState::NotMet;
    odd.requiredMm = 0.1 + 0.2;
    InputOf(odd, workflow::Control::RzNumericEdit8).value = -1e-7;
    odd.warning = "При заданных условиях слишком большая толщина теплоизоляции";
    rows.push_back(odd);
    ScheduleRow rejected = rows[2];
    rejected.rejection = "Конденсация в таких условиях невозможна";
    rows.push_back(rejected);
    return rows;
}

// A folder of one test, with a file of the user's that nothing may touch.
struct Folder {
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }
    Folder() { WriteAll(Path(QStringLiteral("keep.txt")), "the user's own file"); }
    bool KeepIntact() const {
        return ReadAll(Path(QStringLiteral("keep.txt"))) == "the user's own file";
    }
};

TEST(ScheduleFile, RowsOfEveryKindComeBackAsTheyWereSaved) {
    Folder folder;
    // The folder is made on the way, Cyrillic names and all.
    const QString path = folder.Path(QStringLiteral("данные/ведомость/schedule.json"));
    const std::vector<ScheduleRow> rows = Rows();
    ASSERT_EQ(SaveSchedule(path, rows), QString());

    LoadResult loaded = LoadSchedule(path);
    EXPECT_EQ(loaded.error, QString());
    EXPECT_EQ(loaded.setAsidePath, QString());
    ASSERT_EQ(loaded.rows, Numbered(rows));
    EXPECT_EQ(Entries(QFileInfo(path).path()), QStringList{QStringLiteral("schedule.json")});

    // Saving over it replaces it whole; the rows keep the ids they have.
    ASSERT_EQ(SaveSchedule(path, {loaded.rows[3]}), QString());
    EXPECT_EQ(LoadSchedule(path).rows, std::vector<ScheduleRow>{loaded.rows[3]});
    ASSERT_EQ(SaveSchedule(path, {}), QString());
    loaded = LoadSchedule(path);
    EXPECT_TRUE(loaded.rows.empty());
    EXPECT_EQ(loaded.error, QString());
    EXPECT_TRUE(QFile::exists(path));
}

TEST(ScheduleFile, NumbersThatJsonCannotHoldComeBackAsNaN) {
    Folder folder;
    const QString path = folder.Path(QStringLiteral("schedule.json"));
    std::vector<ScheduleRow> rows = {workflow::RowsOfEveryKind()[3]};
    rows[0].requiredMm = INFINITY;
    InputOf(rows[0], workflow::Control::RzNumericEdit21).value = NAN;
    ASSERT_EQ(SaveSchedule(path, rows), QString());
    LoadResult loaded = LoadSchedule(path);
    EXPECT_EQ(loaded.error, QString());
    ASSERT_EQ(loaded.rows.size(), 1u);
    EXPECT_TRUE(std::isnan(loaded.rows[0].requiredMm));
    EXPECT_TRUE(std::isnan(InputOf(loaded.rows[0], workflow::Control::RzNumericEdit21).value));
}

TEST(ScheduleFile, TheFormatIsAsDocumented) {
    const std::vector<ScheduleRow> rows = Rows();
    const QJsonObject root = QJsonDocument::fromJson(ToJson(rows)).object();
    EXPECT_EQ(root.value(QStringLiteral("format")).toString(), QStringLiteral("izolcalc-schedule"));
    EXPECT_EQ(root.value(QStringLiteral("version")).toInt(), 3);
    EXPECT_EQ(root.value(QStringLiteral("nextId")).toInt(), int(rows.size()) + 1);
    const QJsonArray array = root.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(array.size(), qsizetype(rows.size()));

    const QJsonObject first = array[0].toObject();
    QStringList keys = first.keys();
    keys.sort();
    EXPECT_EQ(keys, DocumentedRowKeys());
    EXPECT_EQ(first.value(QStringLiteral("id")).toInt(), 1);
    EXPECT_EQ(first.value(QStringLiteral("kind")).toInt(), 0);
    EXPECT_EQ(first.value(QStringLiteral("tag")).toString(), QStringLiteral("Т1-108"));
    EXPECT_EQ(first.value(QStringLiteral("materialValue")).toString(), QStringLiteral("4"));
    const QJsonObject input = first.value(QStringLiteral("inputs")).toArray()[4].toObject();
    // The control's own caption goes without saying.
    EXPECT_EQ(input, (QJsonObject{{"control", "RzNumericEdit1"}, {"text", "5"}, {"value", 5}}));

    const QJsonObject odd = array[5].toObject();
    EXPECT_TRUE(odd.value(QStringLiteral("materialValue")).isNull());
    EXPECT_TRUE(odd.value(QStringLiteral("meetingMm")).isNull());
    EXPECT_EQ(array[4].toObject().value(QStringLiteral("meetingMm")).toInt(), 60);
    EXPECT_EQ(array[4].toObject().value(QStringLiteral("checkState")).toString(),
              QStringLiteral("notMet"));
    EXPECT_EQ(array[4].toObject().value(QStringLiteral("checkVerdict")).toString(),
              QStringLiteral("не обеспечено; требуется 60 мм"));
    EXPECT_EQ(array.last().toObject().value(QStringLiteral("rejection")).toString(),
              QStringLiteral("Конденсация в таких условиях невозможна"));
}

// Versions 1 and 2 said only whether the check was met; their rows are judged by today's
// rule from the figures they keep, as a new calculation of the same inputs would be.
TEST(ScheduleFile, EarlierVersionsAreReadWithTheCheckJudgedByTodaysRule) {
    using workflow::CheckState;
    std::vector<ScheduleRow> rows = {
        workflow::CalculatedRow(1,
                                [](workflow::Inputs& in) {
                                    in.Field(workflow::Control::RzNumericEdit6) = 20;
                                    in.Field(workflow::Control::RzNumericEdit7) = 250;
                                    in.Field(workflow::Control::RzNumericEdit8) = 45;
                                }),
        workflow::CalculatedRow(4, [](workflow::Inputs&) {}),
        workflow::RowsOfEveryKind()[0],
    };
    ASSERT_EQ(rows[0].checkState, CheckState::WithinAllowance);
    ASSERT_EQ(rows[1].checkState, CheckState::NotMet);
    ASSERT_EQ(rows[2].checkState, CheckState::Met);
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        QJsonObject root = QJsonDocument::fromJson(ToJson(rows)).object();
        root.insert(QStringLiteral("version"), version);
        QJsonArray array = root.value(QStringLiteral("rows")).toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            QJsonObject row = array[i].toObject();
            row.remove(QStringLiteral("checkState"));
            row.remove(QStringLiteral("checkVerdict"));
            row.insert(QStringLiteral("checkMet"),
                       rows[std::size_t(i)].checkState == CheckState::Met);
            if (version == 1)
                for (const char* key : {"rejection", "warning"})
                    row.remove(QLatin1String(key));
            array[i] = row;
        }
        root.insert(QStringLiteral("rows"), array);
        Folder folder;
        const QString path = folder.Path(QStringLiteral("schedule.json"));
        ASSERT_TRUE(WriteAll(path, QJsonDocument(root).toJson()));
        const LoadResult loaded = LoadSchedule(path);
        EXPECT_EQ(loaded.error, QString());
        EXPECT_EQ(loaded.rows, Numbered(rows));
    }
}

TEST(ScheduleFile, OptionalValuesMayBeLeftOutAndUnknownKeysAreIgnored) {
    Folder folder;
    const QString path = folder.Path(QStringLiteral("schedule.json"));
    QJsonObject root = QJsonDocument::fromJson(ToJson({Rows()[1]})).object();
    QJsonArray array = root.value(QStringLiteral("rows")).toArray();
    QJsonObject row = array[0].toObject();
    row.remove(QStringLiteral("materialValue"));
    row.remove(QStringLiteral("meetingMm"));
    row.insert(QStringLiteral("note"), QStringLiteral("added by a later version"));
    array[0] = row;
    root.insert(QStringLiteral("rows"), array);
    ASSERT_TRUE(WriteAll(path, QJsonDocument(root).toJson()));

    const LoadResult loaded = LoadSchedule(path);
    EXPECT_EQ(loaded.error, QString());
    ASSERT_EQ(loaded.rows.size(), 1u);
    EXPECT_EQ(loaded.rows[0].materialValue, std::nullopt);
    EXPECT_EQ(loaded.rows[0].meetingMm, std::nullopt);
    EXPECT_EQ(loaded.rows[0].inputs, Rows()[1].inputs);
}

// A file of the second version, as the program wrote it before rows had ids: every input
// with its caption, one unlike the control's own. Its rows get ids in their order.
TEST(ScheduleFile, AFileOfTheSecondVersionIsReadWithIdsGiven) {
    Folder folder;
    const QString path = folder.Path(QStringLiteral("schedule.json"));
    std::vector<ScheduleRow> rows = Rows();
    InputOf(rows[0], workflow::Control::RzNumericEdit1).caption = "Температура воздуха, °C";
    QJsonObject root = QJsonDocument::fromJson(ToJson(rows)).object();
    root.insert(QStringLiteral("version"), 2);
    root.remove(QStringLiteral("nextId"));
    QJsonArray array = root.value(QStringLiteral("rows")).toArray();
    for (qsizetype r = 0; r < array.size(); ++r) {
        QJsonObject row = array[r].toObject();
        row.remove(QStringLiteral("id"));
        QJsonArray inputs = row.value(QStringLiteral("inputs")).toArray();
        for (qsizetype i = 0; i < inputs.size(); ++i) {
            QJsonObject input = inputs[i].toObject();
            input.insert(
                QStringLiteral("caption"),
                QString::fromStdString(rows[std::size_t(r)].inputs[std::size_t(i)].caption));
            inputs[i] = input;
        }
        row.insert(QStringLiteral("inputs"), inputs);
        array[r] = row;
    }
    root.insert(QStringLiteral("rows"), array);
    ASSERT_TRUE(WriteAll(path, QJsonDocument(root).toJson(QJsonDocument::Indented)));

    const LoadResult loaded = LoadSchedule(path);
    EXPECT_EQ(loaded.error, QString());
    EXPECT_EQ(loaded.rows, Numbered(rows));
    EXPECT_EQ(loaded.nextId, rows.size() + 1);
}

TEST(ScheduleFile, ANameWithNoFileIsRefusedAndMakesNoFile) {
    Folder folder;
    const QString path = folder.Path(QStringLiteral("typo.json"));
    const LoadResult opened = LoadSchedule(path);
    EXPECT_TRUE(opened.missing);
    EXPECT_TRUE(opened.rows.empty());
    EXPECT_EQ(opened.error, QStringLiteral("Не удалось открыть файл «%1». Нет такого файла или "
                                           "каталога.")
                                .arg(QDir::toNativeSeparators(path)));
    // The program's own file not made yet is an empty schedule.
    const LoadResult own = ReadOwnLocked(folder.Path(QStringLiteral("schedule.json")));
    EXPECT_TRUE(own.sound);
    EXPECT_EQ(own.error, QString());
    EXPECT_EQ(Entries(folder.dir.path()), QStringList{QStringLiteral("keep.txt")});
}

// ---- A file that is no schedule this program reads ------------------------------------

QByteArray Edited(const std::function<void(QJsonObject& root)>& edit) {
    QJsonObject root = QJsonDocument::fromJson(ToJson(workflow::RowsOfEveryKind())).object();
    edit(root);
    return QJsonDocument(root).toJson();
}

QByteArray EditedRow(const std::function<void(QJsonObject& row)>& edit) {
    return Edited([&](QJsonObject& root) {
        QJsonArray rows = root.value(QStringLiteral("rows")).toArray();
        QJsonObject row = rows[0].toObject();
        edit(row);
        rows[0] = row;
        root.insert(QStringLiteral("rows"), rows);
    });
}

// The first row's input of the control.
QByteArray EditedInput(const char* control, const std::function<void(QJsonObject& input)>& edit) {
    return EditedRow([&](QJsonObject& row) {
        QJsonArray inputs = row.value(QStringLiteral("inputs")).toArray();
        for (qsizetype i = 0; i < inputs.size(); ++i) {
            QJsonObject input = inputs[i].toObject();
            if (input.value(QStringLiteral("control")).toString() != QLatin1String(control))
                continue;
            edit(input);
            inputs[i] = input;
        }
        row.insert(QStringLiteral("inputs"), inputs);
    });
}

TEST(ScheduleFile, AFileThatIsNoScheduleIsRefusedAndLeftAsItWas) {
    const QByteArray good = ToJson(workflow::RowsOfEveryKind());
    const auto set = [](const char* key, QJsonValue value) {
        return [=](QJsonObject& object) { object.insert(QLatin1String(key), value); };
    };
    enum Said { Damaged, NotSchedule, Newer };
    struct Case {
        const char* name;
        QByteArray bytes;
        Said said = Damaged;
    };
    const Case cases[] = {
        {"truncated", good.left(good.size() / 2)},
        {"empty", "", NotSchedule},
        {"not JSON", "ведомость\n", NotSchedule},
        {"a JSON list", "[]", NotSchedule},
        {"another program's JSON", R"({"name": "izolcalc-web-tests", "private": true})",
         NotSchedule},
        {"another format", Edited(set("format", "other-program")), NotSchedule},
        {"no version", Edited([](QJsonObject& root) { root.remove(QStringLiteral("version")); })},
        {"version as text", Edited(set("version", "1"))},
        {"version 4", Edited(set("version", 4)), Newer},
        // A value this version does not know is the newer version's, not damage.
        {"version 4 with a state of its own", Edited([](QJsonObject& root) {
             root.insert(QStringLiteral("version"), 4);
             QJsonArray rows = root.value(QStringLiteral("rows")).toArray();
             QJsonObject row = rows[0].toObject();
             row.insert(QStringLiteral("checkState"), QStringLiteral("partly"));
             rows[0] = row;
             root.insert(QStringLiteral("rows"), rows);
         }),
         Newer},
        {"id 0", EditedRow(set("id", 0))},
        {"id as text", EditedRow(set("id", "1"))},
        {"next id a fraction", Edited(set("nextId", 2.5))},
        {"rows not a list", Edited(set("rows", QJsonObject()))},
        {"kind 9", EditedRow(set("kind", 9))},
        {"kind 1.5", EditedRow(set("kind", 1.5))},
        {"kind as text", EditedRow(set("kind", "1"))},
        {"tag a number", EditedRow(set("tag", 5))},
        {"no date",
         EditedRow([](QJsonObject& row) { row.remove(QStringLiteral("calculatedAt")); })},
        {"accepted 30.5 mm", EditedRow(set("acceptedMm", 30.5))},
        {"an unknown state", EditedRow(set("checkState", "good"))},
        {"a state as a number", EditedRow(set("checkState", 0))},
        {"neither state nor met",
         EditedRow([](QJsonObject& row) { row.remove(QStringLiteral("checkState")); })},
        {"met as 1 in version 2", Edited([](QJsonObject& root) {
             root.insert(QStringLiteral("version"), 2);
             QJsonArray rows = root.value(QStringLiteral("rows")).toArray();
             QJsonObject row = rows[0].toObject();
             row.remove(QStringLiteral("checkState"));
             row.insert(QStringLiteral("checkMet"), 1);
             rows[0] = row;
             root.insert(QStringLiteral("rows"), rows);
         })},
        {"material value a number", EditedRow(set("materialValue", 4))},
        {"meeting as text", EditedRow(set("meetingMm", "40"))},
        {"an input not an object", EditedRow(set("inputs", QJsonArray{5}))},
        {"an unknown control", EditedInput("RzNumericEdit1", set("control", "RzNumericEdit99"))},
        {"a picture as an input", EditedInput("RzNumericEdit1", set("control", "Image4"))},
        {"a value as text", EditedInput("RzNumericEdit1", set("value", "5"))},
        {"a diameter past its list", EditedInput("RzComboBox3", set("value", 99))},
        {"a diameter between rows", EditedInput("RzComboBox3", set("value", 7.5))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.bytes, good);
        Folder folder;
        const QString path = folder.Path(QStringLiteral("schedule.json"));
        ASSERT_TRUE(WriteAll(path, c.bytes));

        const LoadResult loaded = LoadSchedule(path);
        EXPECT_TRUE(loaded.rows.empty());
        EXPECT_EQ(loaded.setAsidePath, QString());
        EXPECT_EQ(ReadAll(path), c.bytes);
        EXPECT_TRUE(folder.KeepIntact());
        EXPECT_EQ(Entries(folder.dir.path()),
                  (QStringList{QStringLiteral("keep.txt"), QStringLiteral("schedule.json")}));
        const QString shown = QDir::toNativeSeparators(path);
        const QString said[] = {
            QStringLiteral("Файл ведомости «%1» повреждён: ошибка в строке ").arg(shown),
            QStringLiteral("Файл «%1» не является ведомостью этой программы.").arg(shown),
            QStringLiteral("Файл ведомости «%1» записан более новой версией").arg(shown)};
        EXPECT_TRUE(loaded.error.startsWith(said[c.said])) << loaded.error.toStdString();
        EXPECT_TRUE(loaded.error.endsWith(QStringLiteral(" Файл оставлен без изменений.")));
    }
}

TEST(ScheduleFile, AFaultIsToldByItsLineAndByte) {
    Folder folder;
    const QString path = folder.Path(QStringLiteral("schedule.json"));
    QByteArray bytes = ToJson(workflow::RowsOfEveryKind());
    const qsizetype third = bytes.indexOf("\n{", bytes.indexOf("\n{") + 1) + 1;
    bytes.insert(third, "#");
    ASSERT_TRUE(WriteAll(path, bytes));
    EXPECT_EQ(LoadSchedule(path).error,
              QStringLiteral("Файл ведомости «%1» повреждён: ошибка в строке 3 (байт %2). Файл "
                             "оставлен без изменений.")
                  .arg(QDir::toNativeSeparators(path))
                  .arg(third + 1));
}

TEST(ScheduleFile, TheProgramsOwnDamagedFileIsCopiedAsideAndKeepsEveryCompleteRow) {
    const std::vector<ScheduleRow> rows = Numbered(workflow::RowsOfEveryKind());
    ASSERT_GE(rows.size(), 4u);
    const QByteArray good = ToJson(rows);
    // A line of the third row lost, and the file cut in the middle of its last row.
    QList<QByteArray> lines = good.split('\n');
    lines[3] = "{\"id\": 3, \"tag\": \"обрыв";
    QByteArray damaged = lines.join('\n');
    damaged.chop(damaged.size() - damaged.lastIndexOf("\"tag\""));
    std::vector<ScheduleRow> kept(rows.begin(), rows.end() - 1);
    kept.erase(kept.begin() + 2);

    Folder folder;
    const QString path = folder.Path(QStringLiteral("schedule.json"));
    ASSERT_TRUE(WriteAll(path, damaged));
    const LoadResult loaded = ReadOwnLocked(path);
    EXPECT_TRUE(loaded.sound);
    EXPECT_EQ(loaded.rows, kept);
    const QFileInfo aside(loaded.setAsidePath);
    EXPECT_EQ(aside.absolutePath(), QFileInfo(path).absolutePath());
    EXPECT_TRUE(aside.fileName().startsWith(QStringLiteral("schedule.damaged-")));
    EXPECT_EQ(ReadAll(loaded.setAsidePath), damaged);
    EXPECT_EQ(LoadSchedule(path).rows, kept);
    EXPECT_TRUE(loaded.error.endsWith(
        QStringLiteral("Его копия сохранена как «%1»; восстановлено строк: %2.")
            .arg(QDir::toNativeSeparators(loaded.setAsidePath))
            .arg(kept.size())))
        << loaded.error.toStdString();
    EXPECT_TRUE(folder.KeepIntact());
}

TEST(ScheduleFile, AFileSetAsideNeverTakesTheNameOfAnother) {
    Folder folder;
    const QString path = folder.Path(QStringLiteral("schedule.json"));
    const QDateTime at(QDate(2026, 12, 10), QTime(16, 20, 5));
    const QString first = folder.Path(QStringLiteral("schedule.damaged-20261210-162005.json"));
    EXPECT_EQ(SetAsidePathFor(path, at), first);
    ASSERT_TRUE(WriteAll(first, "earlier"));
    EXPECT_EQ(SetAsidePathFor(path, at),
              folder.Path(QStringLiteral("schedule.damaged-20261210-162005-2.json")));
    EXPECT_EQ(SetAsidePathFor(folder.Path(QStringLiteral("ведомость")), at),
              folder.Path(QStringLiteral("ведомость.damaged-20261210-162005")));

    // Two damaged files in a row, most likely within one second: both are kept.
    ASSERT_TRUE(WriteAll(path, "{"));
    const QString one = ReadOwnLocked(path).setAsidePath;
    ASSERT_TRUE(WriteAll(path, "}"));
    const QString two = ReadOwnLocked(path).setAsidePath;
    EXPECT_NE(one, two);
    EXPECT_EQ(ReadAll(one), "{");
    EXPECT_EQ(ReadAll(two), "}");
    EXPECT_EQ(ReadAll(first), "earlier");
}

// ---- Writing ----------------------------------------------------------------------------

TEST(ScheduleFile, AFailedSaveNamesTheFileAndHarmsNothing) {
    Folder folder;
    const std::vector<ScheduleRow> rows = workflow::RowsOfEveryKind();

    const QString underAFile = folder.Path(QStringLiteral("keep.txt/schedule.json"));
    QString error = SaveSchedule(underAFile, rows);
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(underAFile))) << error.toStdString();
    EXPECT_TRUE(folder.KeepIntact());

    ASSERT_TRUE(QDir(folder.dir.path()).mkdir(QStringLiteral("schedule.json")));
    const QString aFolder = folder.Path(QStringLiteral("schedule.json"));
    error = WriteScheduleCsv(aFolder, rows);
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(aFolder))) << error.toStdString();
    error = SaveSchedule(aFolder, rows);
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(aFolder))) << error.toStdString();
    EXPECT_TRUE(QFileInfo(aFolder).isDir());
    EXPECT_EQ(Entries(folder.dir.path()),
              (QStringList{QStringLiteral("keep.txt"), QStringLiteral("schedule.json")}));
}

// What a process killed in the middle of a save leaves: a lock file it made but had not yet
// written its number into, and a finished temporary file it had not yet put in place. The
// next window takes the lock at once and clears the temporary file, and nothing else.
TEST(ScheduleFile, WhatAKilledSaveLeftIsClearedAtOnce) {
    Folder folder;
    const QString path = folder.Path(QStringLiteral("schedule.json"));
    const std::vector<ScheduleRow> rows = workflow::RowsOfEveryKind();
    ASSERT_EQ(SaveSchedule(path, rows), QString());
    const QStringList others = {QStringLiteral("schedule.damaged-20260101-120000.json"),
                                QStringLiteral("schedule.json.backup.txt"),
                                QStringLiteral("schedule.json.1")};
    for (const QString& name : others)
        ASSERT_TRUE(WriteAll(folder.Path(name), "the user's"));
    ASSERT_TRUE(WriteAll(folder.Path(QStringLiteral("schedule.json.Ab3xYz")), "{"));
    ASSERT_TRUE(WriteAll(path + QStringLiteral(".lock"), ""));
    QFile lock(path + QStringLiteral(".lock"));
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-2),
                                 QFileDevice::FileModificationTime));
    lock.close();

    const LoadResult loaded = LoadSchedule(path);
    EXPECT_EQ(loaded.error, QString()) << loaded.error.toStdString();
    EXPECT_EQ(loaded.rows.size(), rows.size());
    EXPECT_EQ(SaveSchedule(path, rows), QString());
    QStringList left = others;
    left << QStringLiteral("keep.txt") << QStringLiteral("schedule.json");
    left.sort();
    EXPECT_EQ(Entries(folder.dir.path()), left);
}

// Gives the folder its rights back, so that the temporary folder can be removed.
struct ReadOnly {
    QString folder;
    QFile::Permissions before;
    explicit ReadOnly(QString f)
        : folder(std::move(f))
        , before(QFile::permissions(folder)) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser |
                                          QFile::ExeUser);
    }
    ~ReadOnly() { QFile::setPermissions(folder, before); }
    bool Refuses() const {
        QFile probe(folder + QStringLiteral("/probe"));
        if (!probe.open(QIODevice::WriteOnly)) return true;
        probe.remove();
        return false;
    }
};

TEST(ScheduleFile, InAFolderThatRefusesWritesTheOldFileStays) {
    Folder folder;
    const QString path = folder.Path(QStringLiteral("schedule.json"));
    const std::vector<ScheduleRow> rows = workflow::RowsOfEveryKind();
    ASSERT_EQ(SaveSchedule(path, {rows[0]}), QString());
    const QByteArray old = ReadAll(path);

    ReadOnly readOnly(folder.dir.path());
    if (!readOnly.Refuses())
        GTEST_SKIP() << "this user may write into a read-only folder (root?): nothing to refuse";

    const QString error = SaveSchedule(path, rows);
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << error.toStdString();
    EXPECT_EQ(ReadAll(path), old);

    // The program's own file, damaged, that cannot be copied is left as it is, and the user
    // is told that it stays.
    QFile::setPermissions(folder.dir.path(), readOnly.before);
    ASSERT_TRUE(WriteAll(path, "{ damaged"));
    QFile::setPermissions(folder.dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const LoadResult loaded = ReadOwnLocked(path);
    EXPECT_FALSE(loaded.sound);
    EXPECT_TRUE(loaded.rows.empty());
    EXPECT_EQ(loaded.setAsidePath, QString());
    EXPECT_TRUE(loaded.error.contains(QStringLiteral("Файл оставлен как есть")))
        << loaded.error.toStdString();
    EXPECT_EQ(ReadAll(path), "{ damaged");
    EXPECT_EQ(Entries(folder.dir.path()),
              (QStringList{QStringLiteral("keep.txt"), QStringLiteral("schedule.json")}));
}

TEST(ScheduleFile, TheCsvTableIsWrittenAsMade) {
    Folder folder;
    const QString path = folder.Path(QStringLiteral("таблица.csv"));
    const std::vector<ScheduleRow> rows = Rows();
    ASSERT_EQ(WriteScheduleCsv(path, rows), QString());
    EXPECT_EQ(ReadAll(path), QByteArray::fromStdString(workflow::ScheduleCsv(rows)));
    ASSERT_EQ(WriteScheduleCsv(path, {}), QString());
    EXPECT_EQ(ReadAll(path), QByteArray::fromStdString(workflow::ScheduleCsv({})));
}

TEST(ScheduleFile, TheDefaultFileLivesInTheProgramsDataFolder) {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("izolcalc-schedule-tests"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    ASSERT_FALSE(folder.isEmpty());
    QDir(folder).removeRecursively(); // the test location is the tests' own

    const QString path = DefaultSchedulePath();
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("schedule.json"));
    EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(folder).absolutePath());
    const std::vector<ScheduleRow> rows = workflow::RowsOfEveryKind();
    EXPECT_EQ(SaveSchedule(path, rows), QString());
    EXPECT_EQ(LoadSchedule(path).rows, Numbered(rows));
    QDir(folder).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}

} // namespace
