#include "Pictures.h"

#include "Plugins.h"
#include "SvgPainter.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>

// Q_INIT_RESOURCE must stand outside any namespace.
static void RegisterPictures() {
    Q_INIT_RESOURCE(pictures);
    Q_INIT_RESOURCE(raster_pictures);
}

void InitPictures() {
    static const bool registered = (RegisterPictures(), true);
    (void)registered;
}

QPixmap ReadPng(const QString& path) {
    if (!QFile::exists(path)) return {};
    QImageReader reader(path, "png");
    // Otherwise Qt loads every image plugin to ask whether it reads PNG better.
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon ApplicationIcon() {
    InitPictures();
    QIcon icon;
    // Sizes for title bars and task lists; launchers take the installed icon.
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(ReadPng(QStringLiteral(":/pictures/app-icon-%1.png").arg(size)));
    return icon;
}

SvgPainter* SvgPainterPlugin() {
    static SvgPainter* const painter = qobject_cast<SvgPainter*>(
        LoadPlugin(PluginFolders(), QStringLiteral("izolcalc_svgpainter")));
    return painter;
}
