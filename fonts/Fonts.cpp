#include "Fonts.h"

#include <QFontDatabase>
#include <QHash>

#include <array>

namespace {

struct Substitutes {
    const char* family;
    std::array<const char*, 4> candidates; // in order of preference
};

// clang-format off
// Liberation Sans keeps Arial's widths and, like DejaVu Sans, has the complete Cyrillic
// that the bitmap MS Sans Serif had on Windows.
constexpr std::array<Substitutes, 2> Faces{{
    {"Arial",         {"Arial",                "Liberation Sans", "Arimo", "DejaVu Sans"}},
    {"MS Sans Serif", {"Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"}},
}};
// clang-format on

QString FindInstalledFamily(const QString& family) {
    const QStringList installed = QFontDatabase::families();
    for (const Substitutes& s : Faces) {
        if (family.compare(QLatin1String(s.family), Qt::CaseInsensitive) != 0) continue;
        for (const char* candidate : s.candidates)
            if (installed.contains(QLatin1String(candidate), Qt::CaseInsensitive))
                return QLatin1String(candidate);
    }
    return family;
}

} // namespace

QString InstalledFamily(const QString& family) {
    // Asking the font database is slow; the answer does not change while the program runs.
    static QHash<QString, QString> found;
    auto it = found.constFind(family);
    if (it == found.constEnd()) it = found.insert(family, FindInstalledFamily(family));
    return *it;
}

QFont UiFont(UiFace face, int pixelSize, bool bold) {
    QFont font(InstalledFamily(QLatin1String(face == UiFace::Arial ? "Arial" : "MS Sans Serif")));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
