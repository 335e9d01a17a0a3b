// The program's plugins: parts loaded on first use, so that the libraries behind them cost
// nothing at start-up, and whose absence the program survives.
#pragma once

#include <QString>
#include <QStringList>

class QObject;

// Where plugins are looked for: "plugins" beside the executable, then the install location.
QStringList PluginFolders();

// The root object of the plugin called name (without the system's prefix and suffix) from
// the first folder that holds a loadable one; null when none does. The plugin stays loaded.
QObject* LoadPlugin(const QStringList& folders, const QString& name);
