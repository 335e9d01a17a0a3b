// The colours of the window's controls, in one place so that every control agrees.
#pragma once

#include <QRgb>

namespace Colors {
// clang-format off
constexpr QRgb Accent = qRgb(218, 37, 28);    // backdrops, the chosen kind, button faces
constexpr QRgb Frame = qRgb(255, 34, 34);     // thin frames of edits, lists and options
constexpr QRgb Highlight = qRgb(215, 0, 0);   // the chosen option, frames under the mouse
constexpr QRgb PureRed = qRgb(255, 0, 0);     // the one list framed in pure red
constexpr QRgb HoverTint = qRgb(253, 236, 234); // pale accent behind what the mouse is over
constexpr QRgb Text = qRgb(0, 0, 0);
constexpr QRgb RefusedFlash = qRgb(255, 205, 200); // a field that refused what was typed or pasted
constexpr QRgb Focus = qRgb(0, 90, 180);     // the frame of the control that has the keyboard focus
constexpr QRgb Stale = qRgb(150, 150, 150);   // a result whose inputs have changed since
// clang-format on
} // namespace Colors
