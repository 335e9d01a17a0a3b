// A picture loaded from a file or resource, drawn sharp at any size: SVG is rendered as
// vectors, other formats are scaled smoothly. The file is read when first needed, so
// faces that are never shown (hover, pressed) cost nothing at start-up.
#pragma once

#include <QPixmap>
#include <QSizeF>
#include <QString>
#include <memory>

class QPainter;
class QRectF;
class QSvgRenderer;

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

    QString m_path;
    mutable bool m_loaded = false;
    mutable std::shared_ptr<QSvgRenderer> m_svg; // one per file, shared by every picture of it
    mutable QPixmap m_pixmap;
};
