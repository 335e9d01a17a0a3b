#include "PagePainter.h"

#include "ReportFonts.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

namespace reportengine {

namespace {

// One prepared line, shaped as it was when the lines were broken.
void DrawLine(QPainter& painter, const QFont& font, const PreparedLine& line) {
    QTextLayout layout(line.text, font);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::NoWrap);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    layout.draw(&painter, line.topLeft);
}

} // namespace

void PaintPage(QPainter& painter, const PreparedPage& page) {
    const QPaintDevice* device = painter.device();
    painter.save();
    painter.scale(device->logicalDpiX() / 96.0, device->logicalDpiY() / 96.0);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const PreparedBox& box : page.boxes) {
        painter.setClipRect(box.geometry);
        if (box.background.isValid() && box.background.alpha() > 0)
            painter.fillRect(box.geometry, box.background);
        painter.setPen(box.font.color);
        const QFont font = ReportFont(box.font);
        for (const PreparedLine& line : box.lines)
            DrawLine(painter, font, line);
    }
    painter.restore();
}

bool WritePdf(const PreparedPage& page, QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setPageSize(QPageSize(page.paperMm, QPageSize::Millimeter));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(page.reportName);
    writer.setCreator(QGuiApplication::applicationDisplayName());
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    PaintPage(painter, page);
    return painter.end();
}

bool WritePdf(const PreparedPage& page, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return WritePdf(page, file) && file.flush();
}

} // namespace reportengine
