#include "Pictures.h"

#include <QImageReader>
#include <QPixmap>

// Q_INIT_RESOURCE must stand outside any namespace.
static void RegisterPictures() {
    Q_INIT_RESOURCE(pictures);
}

void InitPictures() {
    static const bool registered = (RegisterPictures(), true);
    (void)registered;
}

QIcon ApplicationIcon() {
    InitPictures();
    QIcon icon;
    // Sizes for title bars and task lists; launchers take the installed icon.
    for (int size : {16, 24, 32, 48, 64}) {
        QImageReader reader(QStringLiteral(":/pictures/app-icon-%1.png").arg(size), "png");
        // Otherwise Qt loads every image plugin to ask whether it reads PNG better.
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}
