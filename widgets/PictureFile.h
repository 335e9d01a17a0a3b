// A picture loaded from a file or resource, drawn sharp at any size: SVG is rendered as
// vectors, other formats are scaled smoothly. The file is read when first needed, so
// faces that are never shown (hover, pressed) cost nothing at start-up. An SVG drawn at its
// own size on a plain screen comes from the bitmap that the build drew of it ("name.rgba"
// beside "name.svg"), or centred in a box of the window's from "name-WxH.rgba"; the SVG is
// drawn by the SVG painter plugin only when another size or scale needs it.
#pragma once

#include <QPixmap>
#include <QSizeF>
#include <QString>

class QPainter;
class QRectF;
class SvgPainter;

class PictureFile {
public:
    PictureFile();
    explicit PictureFile(const QString& path);
    ~PictureFile();
    PictureFile(PictureFile&&) noexcept;
    PictureFile& operator=(PictureFile&&) noexcept;

    bool isNull() const;
    QString path() const { return m_path; }
    QSizeF naturalSize() const;

    // Draws the whole picture into target, keeping its proportions, placed by alignment.
    void paint(QPainter& painter, const QRectF& target,
               Qt::Alignment alignment = Qt::AlignCenter) const;

private:
    void load() const;
    void LoadSvg() const;

    QString m_path;
    mutable bool m_loaded = false;
    mutable SvgPainter* m_svg = nullptr; // the plugin, once this picture needs the SVG
    mutable QSizeF m_svgViewBox;
    mutable QPixmap m_pixmap;
    mutable QPixmap m_raster; // the SVG at its own size
    mutable QSizeF m_boxSize; // the last box drawn into, and the SVG drawn ahead into it
    mutable QPixmap m_boxRaster;
};
