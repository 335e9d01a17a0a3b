// The two classic faces of the window mapped to installed fonts with full Cyrillic.
#pragma once

#include <QFont>

enum class UiFace {
    MsSansSerif, // labels, edits and lists
    Arial,       // option groups and a few bold labels
};

// The face at the given pixel size; the family list falls back to whatever sans the
// system has, so the Cyrillic texts render on every platform.
QFont UiFont(UiFace face, int pixelSize, bool bold = false);
