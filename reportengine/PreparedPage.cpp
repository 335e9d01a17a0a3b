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

QRectF PreparedPage::OnSheet(const QRectF& rect) const {
    const QPointF origin = printable.topLeft();
    return QRectF(origin + (rect.topLeft() - origin) * scale, rect.size() * scale);
}

reporttemplate::Formats FormatsOf(const PrepareContext& context) {
    return {context.locale.toString(context.date, QLocale::ShortFormat).toStdString(),
            QString(context.locale.decimalPoint()).toStdString(),
            QString(context.locale.negativeSign()).toStdString()};
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
        result.lines.push_back({piece, QPointF(box.left() + BoxPaddingLeft, box.top() + top),
                                QSizeF(line.naturalTextWidth(), line.height())});
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

namespace {

FontSpec Smaller(FontSpec font, int step) {
    font.pixelSize = std::max(font.pixelSize - step, std::min(font.pixelSize, SmallestFontPixels));
    return font;
}

// The page as the template places it, its fonts `fontStep` pixels smaller, boxes grown to
// hold their lines and moved down by the growth above them.
PreparedPage Arrange(const Template& report, const PrepareContext& context, int fontStep) {
    PreparedPage page;
    page.reportName = QString::fromStdString(report.name);
    page.title = QString::fromStdString(report.title.empty() ? report.name : report.title);
    page.author = QString::fromStdString(report.author);
    page.paperMm = QSizeF(report.page.paperWidthMm, report.page.paperHeightMm);
    constexpr double UnitsPerMm = 96 / 25.4;
    const double margin = report.page.marginMm * UnitsPerMm;
    page.printable =
        QRectF(0, 0, page.paperMm.width() * UnitsPerMm, page.paperMm.height() * UnitsPerMm)
            .adjusted(margin, margin, -margin, -margin);
    std::vector<double> growth;
    for (const reporttemplate::FilledBox& box : PrintedBoxes(report, FormatsOf(context))) {
        const QRectF geometry(box.geometry.left, box.geometry.top, box.geometry.width,
                              box.geometry.height);
        const QColor background =
            box.background
                ? QColor(box.background->red, box.background->green, box.background->blue)
                : QColor(Qt::transparent);
        PreparedBox prepared{QString::fromStdString(box.name), geometry,
                             Smaller(box.font, fontStep),      background,
                             QString::fromStdString(box.text), {}};
        TextLayout layout = BreakLines(prepared.text, geometry, prepared.font);
        prepared.lines = std::move(layout.lines);
        growth.push_back(Growth(layout, geometry));
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

// What a box covers: its geometry, and its lines where a descender hangs below it.
QRectF Extent(const PreparedBox& box) {
    QRectF extent = box.geometry;
    for (const PreparedLine& line : box.lines)
        extent |= QRectF(line.topLeft, line.size);
    return extent;
}

QRectF Extent(const PreparedPage& page) {
    QRectF extent;
    for (const PreparedBox& box : page.boxes)
        extent |= Extent(box);
    return extent;
}

void MoveUp(PreparedBox& box, double by) {
    box.geometry.translate(0, -by);
    for (PreparedLine& line : box.lines)
        line.topLeft.ry() -= by;
}

// Closes up the blank bands between rows by `excess` in all, or as far as they go: every
// band wider than some level is narrowed to it, so the widest close first and none below
// SmallestRowGap. A row is the boxes that overlap one another from top to bottom.
void CloseUp(PreparedPage& page, double excess) {
    std::vector<size_t> order(page.boxes.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return page.boxes[a].geometry.top() < page.boxes[b].geometry.top();
    });
    std::vector<size_t> rowOf(page.boxes.size(), 0);
    std::vector<double> gaps; // gaps[r - 1] lies above row r
    double rowBottom = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        const QRectF extent = Extent(page.boxes[order[k]]);
        if (k > 0 && extent.top() >= rowBottom - RowTolerance) {
            gaps.push_back(std::max(0.0, extent.top() - rowBottom));
            rowBottom = extent.bottom();
        } else {
            rowBottom = std::max(rowBottom, extent.bottom());
        }
        rowOf[order[k]] = gaps.size();
    }
    auto closed = [&](double level) {
        double sum = 0;
        for (double gap : gaps)
            sum += std::max(0.0, gap - level);
        return sum;
    };
    double level = SmallestRowGap;
    if (closed(level) > excess) {
        double high = *std::max_element(gaps.begin(), gaps.end());
        for (int i = 0; i < 60; ++i) {
            const double middle = (level + high) / 2;
            (closed(middle) > excess ? level : high) = middle;
        }
        level = high;
    }
    std::vector<double> rise(gaps.size() + 1, 0);
    for (size_t r = 1; r < rise.size(); ++r)
        rise[r] = rise[r - 1] + std::max(0.0, gaps[r - 1] - std::max(level, SmallestRowGap));
    for (size_t i = 0; i < page.boxes.size(); ++i)
        MoveUp(page.boxes[i], rise[rowOf[i]]);
}

// A template's millimetres are rounded to its own units, so an edge may stand a hair beyond.
constexpr double Hair = 0.01;

bool Fits(const PreparedPage& page) {
    const QRectF extent = Extent(page);
    return extent.bottom() <= page.printable.bottom() + Hair &&
           extent.right() <= page.printable.right() + Hair;
}

} // namespace

PreparedPage PreparePage(const Template& report, const PrepareContext& context) {
    int largest = SmallestFontPixels;
    for (const TextBox& box : report.page.boxes)
        if (box.visible) largest = std::max(largest, box.font.pixelSize);
    PreparedPage page;
    for (int step = 0; step <= largest - SmallestFontPixels; ++step) {
        page = Arrange(report, context, step);
        const double excess = Extent(page).bottom() - page.printable.bottom();
        if (excess > 0) CloseUp(page, excess);
        if (Fits(page)) return page;
    }
    // Texts far beyond any report's: the whole page shrinks into the printable area.
    const QRectF extent = Extent(page);
    const QPointF origin = page.printable.topLeft();
    page.scale = std::min(page.printable.height() / std::max(1.0, extent.bottom() - origin.y()),
                          page.printable.width() / std::max(1.0, extent.right() - origin.x()));
    return page;
}

} // namespace reportengine
