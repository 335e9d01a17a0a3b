// Preparing a report: the page's visible boxes with their final texts, broken into the
// lines that will be printed. Plain data, so that a report can be checked without painting.
#pragma once

#include "Placeholders.h"
#include "Template.h"

#include <QPointF>
#include <QSizeF>

#include <vector>

namespace reportengine {

// The fixed rules of every box, in 1/96 inch.
constexpr double BoxPaddingLeft = 2;
constexpr double BoxPaddingRight = 2;
constexpr double BoxPaddingTop = 1;
constexpr double ExtraLineSpace = 2;

struct PreparedLine {
    QString text;
    QPointF topLeft; // on the page, in 1/96 inch
};

struct PreparedBox {
    QString name;
    QRectF geometry;
    FontSpec font;
    QColor background;
    QString text; // after the placeholders are replaced
    // Only the lines that start inside the box; painting clips what overhangs its edge.
    std::vector<PreparedLine> lines;
};

struct PreparedPage {
    QString reportName;
    QSizeF paperMm;
    std::vector<PreparedBox> boxes; // the visible ones, in the template's order

    const PreparedBox* Find(const QString& boxName) const;
};

// The template itself stays unchanged; a new call discards nothing but its own result.
PreparedPage PreparePage(const Template& report, const PrepareContext& context = {});

// The text of a box broken into lines that fit its width, positioned by the box rules.
std::vector<PreparedLine> LayOutText(const QString& text, const QRectF& box, const FontSpec& font);

} // namespace reportengine
