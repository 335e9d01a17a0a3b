#include "ProgramSettings.h"

#include "FileSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QStandardPaths>

namespace files {

namespace {

const QString GeometryKey = QStringLiteral("windowGeometry");
const QString RecentKey = QStringLiteral("recentSchedules");
const QString FolderKey = QStringLiteral("lastFolder");

// The window's place as the program kept it before settings.json.
QByteArray EarlierGeometry(const QString& path) {
    const QString ini = QFileInfo(path).dir().filePath(QStringLiteral("window.ini"));
    if (!QFileInfo::exists(ini)) return {};
    return QSettings(ini, QSettings::IniFormat)
        .value(QStringLiteral("window/geometry"))
        .toByteArray();
}

} // namespace

QString SettingsPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/settings.json");
}

ProgramSettings ReadSettings(const QString& path) {
    ProgramSettings settings;
    if (path.isEmpty()) return settings;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        settings.windowGeometry = EarlierGeometry(path);
        return settings;
    }
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    settings.windowGeometry = QByteArray::fromBase64(root.value(GeometryKey).toString().toLatin1());
    for (const QJsonValue& recent : root.value(RecentKey).toArray())
        if (recent.isString() && settings.recentSchedules.size() < RecentSchedulesKept)
            settings.recentSchedules << recent.toString();
    settings.lastFolder = root.value(FolderKey).toString();
    return settings;
}

QString ChangeSettings(const std::function<void(ProgramSettings&)>& change, const QString& path) {
    if (path.isEmpty()) return {};
    ProgramSettings settings = ReadSettings(path);
    change(settings);
    QJsonObject root;
    root.insert(GeometryKey, QString::fromLatin1(settings.windowGeometry.toBase64()));
    root.insert(RecentKey, QJsonArray::fromStringList(settings.recentSchedules));
    root.insert(FolderKey, settings.lastFolder);
    const QString reason = WriteWhole(path, QJsonDocument(root).toJson());
    return reason.isEmpty()
               ? QString()
               : Failure(QStringLiteral("Не удалось сохранить настройки программы в файл"), path,
                         reason);
}

void AddRecentSchedule(ProgramSettings& settings, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    settings.recentSchedules.removeAll(absolute);
    settings.recentSchedules.prepend(absolute);
    while (settings.recentSchedules.size() > RecentSchedulesKept)
        settings.recentSchedules.removeLast();
}

QString DialogStart(const QString& name) {
    QString folder = ReadSettings().lastFolder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return name.isEmpty() ? folder : QDir(folder).filePath(name);
}

void RememberDialogFolder(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    // The place a dialog starts in is no work of the user's: a failure to keep it is not told.
    ChangeSettings([&](ProgramSettings& settings) { settings.lastFolder = folder; });
}

} // namespace files
