#include "Pictures.h"

#include "Plugins.h"
#include "SvgPainter.h"

#include <QImage>
#include <QResource>

#include <QPixmap>
#include <cstring>

// Q_INIT_RESOURCE must stand outside any namespace.
static void RegisterPictures() {
    Q_INIT_RESOURCE(pictures);
    Q_INIT_RESOURCE(raster_pictures);
}

void InitPictures() {
    static const bool registered = (RegisterPictures(), true);
    (void)registered;
}

QPixmap ReadPicture(const QString& path) {
    const QResource resource(path);
    if (!resource.isValid()) return {};
    const QByteArray bytes = resource.uncompressedData();
    const auto number = [&](int at) {
        quint32 value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | quint8(bytes[at + i]);
        return value;
    };
    if (bytes.size() < 8) return {};
    const quint32 width = number(0), height = number(4);
    if (width == 0 || height == 0 || width > 4096 || height > 4096 ||
        quint64(bytes.size()) != 8 + quint64(width) * height * 4)
        return {};
    QImage image(int(width), int(height), QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), bytes.constData() + 8 + qsizetype(y) * width * 4,
                    std::size_t(width) * 4);
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return QPixmap::fromImage(std::move(image));
}

QIcon ApplicationIcon() {
    InitPictures();
    QIcon icon;
    // Sizes for title bars and task lists; launchers take the installed icon.
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(ReadPicture(QStringLiteral(":/pictures/app-icon-%1.rgba").arg(size)));
    return icon;
}

SvgPainter* SvgPainterPlugin() {
    static SvgPainter* const painter = qobject_cast<SvgPainter*>(
        LoadPlugin(PluginFolders(), QStringLiteral("izolcalc_svgpainter")));
    return painter;
}
