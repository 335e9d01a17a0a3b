#include "ProgramSettings.h"

#include "FullDisk.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace files;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ProgramSettings, KeptAsWrittenAndTheRecentListLatestFirstWithoutRepeats) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    EXPECT_EQ(ChangeSettings(
                  [&](ProgramSettings& settings) {
                      settings.windowGeometry = QByteArray("\x01\x00\xff", 3);
                      settings.lastFolder = QStringLiteral("/проекты/Котельная-2");
                      for (int i = 0; i < RecentSchedulesKept + 2; ++i)
                          AddRecentSchedule(settings, QStringLiteral("/в/%1.json").arg(i));
                      AddRecentSchedule(settings, QStringLiteral("/в/5.json"));
                  },
                  path),
              QString());
    const ProgramSettings read = ReadSettings(path);
    EXPECT_EQ(read.windowGeometry, QByteArray("\x01\x00\xff", 3));
    EXPECT_EQ(read.lastFolder, QStringLiteral("/проекты/Котельная-2"));
    EXPECT_EQ(read.recentSchedules,
              (QStringList{"/в/5.json", "/в/9.json", "/в/8.json", "/в/7.json", "/в/6.json",
                           "/в/4.json", "/в/3.json", "/в/2.json"}));
}

TEST(ProgramSettings, AnUnreadableFileIsTheDefaultsAndTheEarlierWindowPlaceIsKept) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    QSettings(dir.filePath(QStringLiteral("window.ini")), QSettings::IniFormat)
        .setValue(QStringLiteral("window/geometry"), QByteArray("place"));
    EXPECT_EQ(ReadSettings(path).windowGeometry, QByteArray("place"));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("[1, 2") == 5);
    file.close();
    const ProgramSettings read = ReadSettings(path);
    EXPECT_TRUE(read.windowGeometry.isEmpty());
    EXPECT_TRUE(read.recentSchedules.isEmpty());
}

TEST(ProgramSettings, ASettingsFileOnAFullDiskStaysAsItWas) {
    SmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << "a small disk of the test's own needs root";
    const QString path = disk.Path(QStringLiteral("settings.json"));
    ASSERT_EQ(ChangeSettings([](ProgramSettings& s) { s.lastFolder = QStringLiteral("/а"); }, path),
              QString());
    const QByteArray earlier = ReadAll(path);
    disk.Fill();
    EXPECT_EQ(ChangeSettings([](ProgramSettings& s) { s.lastFolder = QStringLiteral("/б"); }, path),
              QStringLiteral("Не удалось сохранить настройки программы в файл «%1». Недостаточно "
                             "места на диске.")
                  .arg(path));
    EXPECT_EQ(ReadAll(path), earlier);
}
