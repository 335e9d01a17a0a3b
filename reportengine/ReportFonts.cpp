#include "ReportFonts.h"

#include <QFontDatabase>
#include <QHash>

#include <array>

namespace reportengine {

namespace {

struct Substitutes {
    const char* family;
    std::array<const char*, 4> candidates; // in order of preference
};

// clang-format off
// The same faces as the window's: Liberation Sans keeps Arial's widths and, like DejaVu Sans,
// has the complete Cyrillic that the bitmap MS Sans Serif had on Windows.
constexpr std::array<Substitutes, 2> substitutes{{
    {"Arial",         {"Arial",                "Liberation Sans", "Arimo", "DejaVu Sans"}},
    {"MS Sans Serif", {"Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"}},
}};
// clang-format on

QString FindInstalledFamily(const QString& family) {
    const QStringList installed = QFontDatabase::families();
    for (const Substitutes& s : substitutes) {
        if (family.compare(QLatin1String(s.family), Qt::CaseInsensitive) != 0) continue;
        for (const char* candidate : s.candidates)
            if (installed.contains(QLatin1String(candidate), Qt::CaseInsensitive))
                return QLatin1String(candidate);
    }
    return family;
}

} // namespace

QString InstalledFamily(const QString& family) {
    // Asking the font database costs more than laying out a whole page.
    static QHash<QString, QString> found;
    auto it = found.constFind(family);
    if (it == found.constEnd()) it = found.insert(family, FindInstalledFamily(family));
    return *it;
}

QFont ReportFont(const FontSpec& spec) {
    QFont font(InstalledFamily(spec.family));
    font.setPixelSize(spec.pixelSize);
    font.setBold(spec.bold);
    font.setUnderline(spec.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace reportengine
