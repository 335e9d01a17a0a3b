#include "Fonts.h"

#include <QStringList>

QFont UiFont(UiFace face, int pixelSize, bool bold) {
    // Liberation Sans has the widths of Arial, so captions sized for the classic faces
    // still fit; DejaVu Sans is wider but present on nearly every Linux desktop.
    static const QStringList arial = {"Liberation Sans", "Arial", "DejaVu Sans"};
    static const QStringList msSansSerif = {"Liberation Sans", "Microsoft Sans Serif", "Arial",
                                            "DejaVu Sans"};
    QFont font;
    font.setFamilies(face == UiFace::Arial ? arial : msSansSerif);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
