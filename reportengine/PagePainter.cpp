#include "PagePainter.h"

#include "ReportFonts.h"

#include "FileSave.h"

#include <QFile>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>

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

// XML has no place for control characters; a title or name never needs one.
QString XmlText(const QString& text) {
    QString kept;
    for (const QChar c : text)
        if (c.unicode() >= 0x20) kept += c;
    return kept.toHtmlEscaped();
}

} // namespace

QByteArray XmpMetadata(const QString& title, const QString& author) {
    const QString xmp =
        QStringLiteral("<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                       "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                       "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                       "<rdf:Description rdf:about=\"\" "
                       "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                       "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt>"
                       "</dc:title>\n"
                       "<dc:creator><rdf:Seq><rdf:li>%2</rdf:li></rdf:Seq></dc:creator>\n"
                       "</rdf:Description>\n"
                       "</rdf:RDF>\n"
                       "</x:xmpmeta>\n"
                       "<?xpacket end=\"w\"?>")
            .arg(XmlText(title), XmlText(author));
    return xmp.toUtf8();
}

void PaintPage(QPainter& painter, const PreparedPage& page) {
    const QPaintDevice* device = painter.device();
    const double dpiX = device->logicalDpiX(), dpiY = device->logicalDpiY();
    // On smaller paper or turned to landscape, the whole page shrinks to fit, from the
    // sheet's top-left corner; a device's size is rounded to its pixels, hence the tolerance.
    const double paperWidth = page.paperMm.width() / 25.4 * 96;
    const double paperHeight = page.paperMm.height() / 25.4 * 96;
    const double deviceWidth = device->width() * 96 / dpiX;
    const double deviceHeight = device->height() * 96 / dpiY;
    double fit = 1;
    if (deviceWidth < paperWidth - 1 || deviceHeight < paperHeight - 1)
        fit = std::min(deviceWidth / paperWidth, deviceHeight / paperHeight);
    painter.save();
    painter.scale(dpiX / 96 * fit, dpiY / 96 * fit);
    if (page.scale != 1) {
        const QPointF origin = page.printable.topLeft();
        painter.translate(origin);
        painter.scale(page.scale, page.scale);
        painter.translate(-origin);
    }
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const PreparedBox& box : page.boxes) {
        painter.setClipRect(box.geometry);
        if (box.background.isValid() && box.background.alpha() > 0)
            painter.fillRect(box.geometry, box.background);
        painter.setPen(QColor(box.font.color.red, box.font.color.green, box.font.color.blue));
        const QFont font = ReportFont(box.font);
        for (const PreparedLine& line : box.lines)
            DrawLine(painter, font, line);
    }
    painter.restore();
}

void PaintPages(QPainter& painter, QPagedPaintDevice& device, const PreparedPage& page,
                std::span<const ExtraPage> extra) {
    PaintPage(painter, page);
    for (const ExtraPage& paint : extra) {
        if (!device.newPage()) return;
        painter.save();
        painter.scale(device.logicalDpiX() / 96.0, device.logicalDpiY() / 96.0);
        paint(painter);
        painter.restore();
    }
}

bool WritePdf(const PreparedPage& page, QIODevice& device, std::span<const ExtraPage> extra) {
    QPdfWriter writer(&device);
    writer.setPageSize(QPageSize(page.paperMm, QPageSize::Millimeter));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(page.title);
    writer.setCreator(QGuiApplication::applicationDisplayName());
    // The writer has no field for the author but the document's XMP metadata.
    if (!page.author.isEmpty()) writer.setDocumentXmpMetadata(XmpMetadata(page.title, page.author));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    PaintPages(painter, writer, page, extra);
    return painter.end();
}

QString WritePdf(const PreparedPage& page, const QString& path, std::span<const ExtraPage> extra) {
    files::FileSave file(path);
    if (!file.Open()) return file.Reason();
    // Left uncommitted, an unfinished document is dropped; one the disk refused says why.
    if (!WritePdf(page, file.Device(), extra) && file.Device().error() == QFileDevice::NoError)
        return QStringLiteral("Не удалось закончить документ PDF");
    return file.Commit() ? QString() : file.Reason();
}

} // namespace reportengine
