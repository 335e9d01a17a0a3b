// Preparing a report: the page's visible boxes with their final texts, broken into the
// lines that will be printed. Plain data, so that a report can be checked without painting.
// No word is lost: a box too low for its lines grows downward, and the boxes below it move
// down with it; the boxes beside it stay where they are. Nothing falls off the sheet: a page
// that would run past its printable area first closes up the blank bands between its rows,
// the largest first, then sets its texts a pixel smaller at a time, and at the last shrinks
// as a whole.
#pragma once

#include "Placeholders.h"
#include "Template.h"

#include <QColor>
#include <QDate>
#include <QLocale>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

namespace reportengine {

// The templates are plain data (reporttemplate); this engine lays them out and paints them.
using reporttemplate::FontSpec;
using reporttemplate::Template;
using reporttemplate::TextBox;

// What a prepared report depends on besides the template: the day and the user's formats.
struct PrepareContext {
    QDate date = QDate::currentDate();
    QLocale locale;
};

// The day and the figures' separators of a context, as the template's filling takes them.
reporttemplate::Formats FormatsOf(const PrepareContext& context);

// The fixed rules of every box, in 1/96 inch.
constexpr double BoxPaddingLeft = 2;
constexpr double BoxPaddingRight = 2;
constexpr double BoxPaddingTop = 1;
constexpr double ExtraLineSpace = 2;

struct PreparedLine {
    QString text;
    QPointF topLeft; // on the page, in 1/96 inch
    QSizeF size;     // the text's own width and the line's height
};

struct PreparedBox {
    QString name;
    QRectF geometry; // where the box ends up, grown and moved
    FontSpec font;   // as printed, perhaps smaller than the template's
    QColor background;
    QString text;                    // after the placeholders are replaced
    std::vector<PreparedLine> lines; // all of them, inside the final geometry
};

struct PreparedPage {
    QString reportName;
    QString title;  // the template's title, or its name where it has none
    QString author; // may be empty
    QSizeF paperMm;
    std::vector<PreparedBox> boxes; // the visible ones, in the template's order
    QRectF printable;               // the sheet within its margins, in 1/96 inch
    // Below 1 when even the smallest texts did not fit: the painter shrinks the page by it,
    // towards the printable area's top-left corner.
    double scale = 1;

    const PreparedBox* Find(const QString& boxName) const;
    // Where a rectangle of the page ends up on the sheet, the scale applied.
    QRectF OnSheet(const QRectF& rect) const;
};

// Fonts are set smaller a pixel at a time down to this size, or their own when smaller.
inline constexpr int SmallestFontPixels = 9;
// The blank band left between two rows when a page closes up.
inline constexpr double SmallestRowGap = 96 / 25.4; // 1 mm

// The template itself stays unchanged; a new call discards nothing but its own result.
PreparedPage PreparePage(const Template& report, const PrepareContext& context = {});

// The text of a box broken into lines that fit its width, positioned by the box rules from
// its top-left corner; all of them, however low the box is.
std::vector<PreparedLine> LayOutText(const QString& text, const QRectF& box, const FontSpec& font);

} // namespace reportengine
