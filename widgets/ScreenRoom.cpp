#include "ScreenRoom.h"

#include <QScreen>
#include <QWidget>

namespace {

// In device-independent pixels: borders on each side, a title bar, a taskbar.
constexpr int Border = 8;
constexpr int TitleBar = 40;
constexpr int Taskbar = 40;

} // namespace

QSize ScreenRoom(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return {};
    return screen->availableGeometry().size() - QSize(2 * Border, TitleBar + Taskbar + Border);
}
