#include "Plugins.h"

#include <QCoreApplication>
#include <QPluginLoader>

QStringList PluginFolders() {
    QStringList folders{QCoreApplication::applicationDirPath() + QStringLiteral("/plugins")};
#ifdef IZOL_INSTALLED_PLUGIN_DIR
    folders << QStringLiteral(IZOL_INSTALLED_PLUGIN_DIR);
#endif
    return folders;
}

QObject* LoadPlugin(const QStringList& folders, const QString& name) {
    for (const QString& folder : folders) {
        // The loader adds the system's prefix and suffix of a plugin file itself.
        QPluginLoader loader(folder + u'/' + name);
        if (QObject* root = loader.instance()) return root;
    }
    return nullptr;
}
