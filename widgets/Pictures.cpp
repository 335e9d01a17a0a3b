#include "Pictures.h"

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
    for (int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/pictures/app-icon-%1.png").arg(size), QSize(size, size));
    return icon;
}
