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

std::vector<PreparedLine> LayOutText(const QString& text, const QRectF& box, const FontSpec& font) {
    std::vector<PreparedLine> lines;
    if (text.isEmpty()) return lines;
    QTextLayout layout(text, ReportFont(font));
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    const double width = std::max(0.0, box.width() - BoxPaddingLeft - BoxPaddingRight);
    double top = box.top() + BoxPaddingTop;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid() && top < box.bottom();
         line = layout.createLine()) {
        line.setLineWidth(width);
        QString piece = text.mid(line.textStart(), line.textLength());
        while (!piece.isEmpty() && piece.back().isSpace())
            piece.chop(1);
        lines.push_back({piece, QPointF(box.left() + BoxPaddingLeft, top)});
        top += line.height() + ExtraLineSpace;
    }
    layout.endLayout();
    return lines;
}

PreparedPage PreparePage(const Template& report, const PrepareContext& context) {
    PreparedPage page;
    page.reportName = report.name;
    page.paperMm = QSizeF(report.page.paperWidthMm, report.page.paperHeightMm);
    for (const TextBox& box : report.page.boxes) {
        if (!box.visible) continue;
        PreparedBox prepared{box.name,
                             box.geometry,
                             box.font,
                             box.background,
                             ExpandPlaceholders(box.text, report, context),
                             {}};
        prepared.lines = LayOutText(prepared.text, box.geometry, box.font);
        page.boxes.push_back(std::move(prepared));
    }
    return page;
}

} // namespace reportengine
