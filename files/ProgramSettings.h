// The program's own settings between sessions (settings.json in its configuration folder):
// where the window stood, the schedules opened last, the folder the file dialogs last
// showed. Windows share the file: each change is read, made and written at once.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace files {

struct ProgramSettings {
    QByteArray windowGeometry;
    QStringList recentSchedules; // the latest first
    QString lastFolder;          // where the last file dialog was answered
};

// How many schedules the list of recent files keeps.
inline constexpr int RecentSchedulesKept = 8;

// settings.json in the program's configuration folder; empty when the system names none.
QString SettingsPath();

// The settings in the file; defaults for a missing or unreadable one. Before the first
// settings.json, the window's place is read from the window.ini beside it.
ProgramSettings ReadSettings(const QString& path = SettingsPath());
// Reads the settings, changes them and writes them whole: an empty string, or why not.
QString ChangeSettings(const std::function<void(ProgramSettings&)>& change,
                       const QString& path = SettingsPath());

// The schedule at `path` first in the list, once, and the list cut to its length.
void AddRecentSchedule(ProgramSettings& settings, const QString& path);

// The folder a file dialog starts in, with `name` there: the last folder, or the user's
// documents.
QString DialogStart(const QString& name = {});
// A dialog answered with `path`: its folder is the next one's start.
void RememberDialogFolder(const QString& path);

} // namespace files
