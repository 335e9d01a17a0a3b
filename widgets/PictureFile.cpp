#include "PictureFile.h"

#include "Pictures.h"

#include <QHash>
#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>

namespace {

// The window shows the same few pictures dozens of times; each file is parsed once.
std::shared_ptr<QSvgRenderer> SharedRenderer(const QString& path) {
    static QHash<QString, std::shared_ptr<QSvgRenderer>> renderers;
    std::shared_ptr<QSvgRenderer>& renderer = renderers[path];
    if (!renderer) {
        renderer = std::make_shared<QSvgRenderer>(path);
        if (!renderer->isValid()) renderer.reset();
    }
    return renderer;
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
    if (m_path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        m_svg = SharedRenderer(m_path);
    else if (!m_path.isEmpty())
        m_pixmap.load(m_path);
}

bool PictureFile::isNull() const {
    load();
    return !m_svg && m_pixmap.isNull();
}

QSizeF PictureFile::naturalSize() const {
    load();
    if (m_svg) return m_svg->viewBoxF().size();
    return m_pixmap.deviceIndependentSize();
}

void PictureFile::paint(QPainter& painter, const QRectF& target, Qt::Alignment alignment) const {
    const QSizeF natural = naturalSize();
    if (isNull() || natural.isEmpty() || target.isEmpty()) return;
    const QSizeF size = natural.scaled(target.size(), Qt::KeepAspectRatio);
    qreal x = target.left() + (target.width() - size.width()) / 2;
    qreal y = target.top() + (target.height() - size.height()) / 2;
    if (alignment & Qt::AlignLeft)
        x = target.left();
    else if (alignment & Qt::AlignRight)
        x = target.right() - size.width();
    if (alignment & Qt::AlignTop)
        y = target.top();
    else if (alignment & Qt::AlignBottom)
        y = target.bottom() - size.height();
    const QRectF placed(QPointF(x, y), size);

    if (m_svg) {
        m_svg->render(&painter, placed);
    } else {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(placed, m_pixmap, m_pixmap.rect());
        painter.restore();
    }
}
