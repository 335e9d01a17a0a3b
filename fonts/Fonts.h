// The two classic faces of the window and the reports mapped to installed fonts with full
// Cyrillic, at the same pixel sizes.
#pragma once

#include <QFont>
#include <QString>

enum class UiFace {
    MsSansSerif, // labels, edits and lists
    Arial,       // option groups and a few bold labels
};

// The installed family that stands in for "Arial" or "MS Sans Serif"; any other family,
// or one without an installed stand-in, comes back unchanged.
QString InstalledFamily(const QString& family);

// The face at the given pixel size.
QFont UiFont(UiFace face, int pixelSize, bool bold = false);
