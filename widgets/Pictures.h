// Where the program's pictures live among the compiled-in resources, and the
// application icon built from them.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRgb>

namespace Pictures {
// clang-format off
constexpr char Header[]          = ":/pictures/header.svg";         // iMain, 241 x 40
constexpr char AppIcon[]         = ":/pictures/app-icon.svg";
constexpr char Marker[]          = ":/pictures/marker.svg";         // 20 x 28, on a backdrop
constexpr char DropDown[]        = ":/pictures/dropdown.svg";       // 20 x 27, on a backdrop
constexpr char DropDownHover[]   = ":/pictures/dropdown-hover.svg";
constexpr char CalculateUp[]     = ":/pictures/calculate-up.svg";   // 138 x 38
constexpr char CalculateHover[]  = ":/pictures/calculate-hover.svg";
constexpr char CalculateDown[]   = ":/pictures/calculate-down.svg";
constexpr char ReportUp[]        = ":/pictures/report-up.svg";      // 91 x 25
constexpr char ReportHover[]     = ":/pictures/report-hover.svg";
constexpr char ReportDown[]      = ":/pictures/report-down.svg";
constexpr char CloseUp[]         = ":/pictures/close-up.svg";       // 81 x 23
constexpr char CloseHover[]      = ":/pictures/close-hover.svg";
constexpr char CloseDown[]       = ":/pictures/close-down.svg";
// clang-format on

// Where the first letter of a button's caption stands on its faces, which carry the caption as
// drawn shapes: from x0 to x1 on the baseline of the face that is up, in the picture's units
// (the pressed face stands a unit lower), and the caption's colour on each face. The button
// underlines it when that letter is its Alt mnemonic.
struct FaceLetter {
    qreal x0, x1, baseline;
    QRgb up, hover, down;
};
// clang-format off
constexpr FaceLetter CalculateLetter{51, 58, 24.0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
constexpr FaceLetter ReportLetter   {36, 44, 16.8, 0xFFDA251C, 0xFFB81910, 0xFFFFFFFF};
constexpr FaceLetter CloseLetter    {23, 28, 15.8, 0xFF2B2F36, 0xFFB81910, 0xFFA3150D};
// clang-format on
} // namespace Pictures

// Registers the resources of the static library; the picture widgets call it themselves,
// code that loads a picture path directly calls it first. Safe to call again.
void InitPictures();

// The raw bitmap at the resource path that the build drew (resources/tools/rasterpicture),
// or a null pixmap where there is none.
QPixmap ReadPicture(const QString& path);

// The program's icon, with hand-checked small sizes so that no icon plugin is needed.
QIcon ApplicationIcon();
