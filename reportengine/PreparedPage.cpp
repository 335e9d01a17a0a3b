#include "PreparedPage.h"

#include "ReportFonts.h"

#include <QTextLayout>

#include <algorithm>

namespace reportengine {

const PreparedBox* PreparedPage::Find(const QString& boxName) const {
    for (const PreparedBox& box : boxes)
        if (box.name == boxName) return &box;
    return nullptr;
}

namespace {

struct TextLayout {
    std::vector<PreparedLine> lines;
    double height = 0;       // from the box's top to the last line's bottom
    double lastBaseline = 0; // from the box's top
};

TextLayout BreakLines(const QString& text, const QRectF& box, const FontSpec& font) {
    TextLayout result;
    if (text.isEmpty()) return result;
    QTextLayout layout(text, ReportFont(font));
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    const double width = std::max(0.0, box.width() - BoxPaddingLeft - BoxPaddingRight);
    double top = BoxPaddingTop;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString piece = text.mid(line.textStart(), line.textLength());
        while (!piece.isEmpty() && piece.back().isSpace())
            piece.chop(1);
        result.lines.push_back({piece, QPointF(box.left() + BoxPaddingLeft, box.top() + top)});
        result.lastBaseline = top + line.ascent();
        result.height = top + line.height();
        top = result.height + ExtraLineSpace;
    }
    layout.endLayout();
    return result;
}

// A one-line box is drawn at about the font's height, so its descenders may overhang the
// edge by a hair; growing for that would shift every row of a report. A box grows only
// when a line would not show, and then enough to show all of them whole.
double Growth(const TextLayout& layout, const QRectF& box) {
    if (layout.lastBaseline <= box.height()) return 0;
    return layout.height - box.height();
}

// Boxes in one row do not push each other; one below another's bottom edge does.
constexpr double RowTolerance = 0.5;

} // namespace

std::vector<PreparedLine> LayOutText(const QString& text, const QRectF& box, const FontSpec& font) {
    return BreakLines(text, box, font).lines;
}

PreparedPage PreparePage(const Template& report, const PrepareContext& context) {
    PreparedPage page;
    page.reportName = report.name;
    page.title = report.title.isEmpty() ? report.name : report.title;
    page.author = report.author;
    page.paperMm = QSizeF(report.page.paperWidthMm, report.page.paperHeightMm);
    std::vector<double> growth;
    for (const TextBox& box : report.page.boxes) {
        if (!box.visible) continue;
        PreparedBox prepared{box.name,
                             box.geometry,
                             box.font,
                             box.background,
                             ExpandPlaceholders(box.text, report, context),
                             {}};
        TextLayout layout = BreakLines(prepared.text, box.geometry, box.font);
        prepared.lines = std::move(layout.lines);
        growth.push_back(Growth(layout, box.geometry));
        page.boxes.push_back(std::move(prepared));
    }

    // A box moves by the most that any box above it moved and grew; so two boxes growing in
    // one row move the rows below by the larger growth, and growths further down add up.
    std::vector<size_t> order(page.boxes.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return page.boxes[a].geometry.top() < page.boxes[b].geometry.top();
    });
    std::vector<double> shift(page.boxes.size(), 0);
    for (size_t i = 0; i < order.size(); ++i) {
        const QRectF& below = page.boxes[order[i]].geometry;
        for (size_t j = 0; j < i; ++j) {
            const QRectF& above = page.boxes[order[j]].geometry;
            if (below.top() >= above.bottom() - RowTolerance)
                shift[order[i]] = std::max(shift[order[i]], shift[order[j]] + growth[order[j]]);
        }
    }
    for (size_t i = 0; i < page.boxes.size(); ++i) {
        PreparedBox& box = page.boxes[i];
        box.geometry.translate(0, shift[i]);
        box.geometry.setHeight(box.geometry.height() + growth[i]);
        for (PreparedLine& line : box.lines)
            line.topLeft.ry() += shift[i];
    }
    return page;
}

} // namespace reportengine
