// The room a window has on the screen it opens on, for windows that size themselves before
// they are shown.
#pragma once

#include <QSize>

class QWidget;

// The screen's available geometry less what the desktop draws around a window, which Qt
// learns only once the window is shown: its borders and title bar, and a panel that the
// platform may not have taken off the available geometry.
QSize ScreenRoom(const QWidget* window);
