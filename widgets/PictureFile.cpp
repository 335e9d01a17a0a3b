#include "PictureFile.h"

#include "PicturePlacement.h"
#include "Pictures.h"

#include "SvgPainter.h"

#include <QPainter>
#include <QRectF>

#include <cmath>

namespace {

bool IsSvg(const QString& path) {
    return path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
}

// Whether a drawing of pixelSize at box lands pixel for pixel on the device as the SVG would
// draw itself: the painter only moves, the corner falls on a whole device pixel, and nothing
// (a disabled button's fading) blends the picture's shapes with each other.
bool DrawnAsIs(const QPainter& painter, const QRectF& box, QSize pixelSize) {
    const QTransform& device = painter.deviceTransform();
    if (device.type() > QTransform::TxTranslate || box.size() != QSizeF(pixelSize) ||
        painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    const QPointF corner = device.map(box.topLeft());
    return corner.x() == std::round(corner.x()) && corner.y() == std::round(corner.y());
}

} // namespace

PictureFile::PictureFile() = default;
PictureFile::~PictureFile() = default;
PictureFile::PictureFile(PictureFile&&) noexcept = default;
PictureFile& PictureFile::operator=(PictureFile&&) noexcept = default;

PictureFile::PictureFile(const QString& path)
    : m_path(path) {}

void PictureFile::load() const {
    if (m_loaded) return;
    m_loaded = true;
    InitPictures();
    if (IsSvg(m_path)) {
        m_raster = ReadPicture(m_path.chopped(4) + QStringLiteral(".rgba"));
        if (m_raster.isNull()) LoadSvg();
    } else if (!m_path.isEmpty()) {
        m_pixmap.load(m_path);
    }
}

void PictureFile::LoadSvg() const {
    if (m_svg) return;
    m_svg = SvgPainterPlugin();
    if (m_svg) m_svgViewBox = m_svg->ViewBox(m_path);
    if (m_svgViewBox.isEmpty()) m_svg = nullptr;
}

bool PictureFile::isNull() const {
    load();
    return !m_svg && m_pixmap.isNull() && m_raster.isNull();
}

QSizeF PictureFile::naturalSize() const {
    load();
    // The bitmap was drawn at the SVG's view box, which is whole pixels.
    if (!m_raster.isNull()) return m_raster.deviceIndependentSize();
    if (m_svg) return m_svgViewBox;
    return m_pixmap.deviceIndependentSize();
}

void PictureFile::paint(QPainter& painter, const QRectF& target, Qt::Alignment alignment) const {
    const QSizeF natural = naturalSize();
    if (isNull() || natural.isEmpty() || target.isEmpty()) return;
    const QRectF placed = PlacedPicture(natural, target, alignment);

    if (!m_raster.isNull() && DrawnAsIs(painter, placed, m_raster.size())) {
        painter.drawPixmap(placed.topLeft(), m_raster);
        return;
    }
    // Drawn smaller or larger, centred in a box that the build drew it into too.
    if (!m_raster.isNull() && alignment == Qt::AlignCenter) {
        if (m_boxSize != target.size()) {
            m_boxSize = target.size();
            const QSize box = m_boxSize.toSize();
            m_boxRaster = QSizeF(box) == m_boxSize ? ReadPicture(QStringLiteral("%1-%2x%3.rgba")
                                                                     .arg(m_path.chopped(4))
                                                                     .arg(box.width())
                                                                     .arg(box.height()))
                                                   : QPixmap();
        }
        if (!m_boxRaster.isNull() && DrawnAsIs(painter, target, m_boxRaster.size())) {
            painter.drawPixmap(target.topLeft(), m_boxRaster);
            return;
        }
    }
    if (IsSvg(m_path)) LoadSvg();
    if (m_svg) {
        m_svg->Render(m_path, painter, placed);
    } else {
        // A bitmap, or the SVG drawn ahead where the SVG painter is missing.
        const QPixmap& pixmap = m_pixmap.isNull() ? m_raster : m_pixmap;
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(placed, pixmap, pixmap.rect());
        painter.restore();
    }
}
