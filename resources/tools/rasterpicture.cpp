// rasterpicture: draws a picture into a raw bitmap as the window draws it, so that the
// window shows the picture without parsing an SVG or unpacking a PNG at start-up.
//
//   rasterpicture <input.svg|input.png> <output.rgba> [<width>x<height>]
//
// An SVG is drawn with Qt's own SVG renderer: without a box at its own size, whose view box
// must be whole pixels; with one, centred in the box as large as fits. A PNG is taken as it
// is. The output is the width and the height as 32-bit little-endian numbers, then the
// rows of premultiplied R, G, B, A bytes, as ReadPicture (widgets/Pictures.h) reads them.

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "PicturePlacement.h"

#include <cmath>
#include <cstdio>

namespace {

QImage DrawSvg(const QString& path, int width, int height) {
    QSvgRenderer renderer(path);
    const QSizeF size = renderer.viewBoxF().size();
    if (!renderer.isValid() || size.isEmpty() || size.width() != std::round(size.width()) ||
        size.height() != std::round(size.height()))
        return {};
    const QSize box = width > 0 ? QSize(width, height) : size.toSize();
    QImage image(box, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, PlacedPicture(size, QRectF(QPointF(0, 0), box), Qt::AlignCenter));
    return image;
}

QByteArray LittleEndian(quint32 value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xff);
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int width = 0, height = 0;
    if ((argc != 3 && argc != 4) ||
        (argc == 4 &&
         (std::sscanf(argv[3], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0))) {
        std::fprintf(
            stderr,
            "usage: rasterpicture <input.svg|input.png> <output.rgba> [<width>x<height>]\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    QImage image = input.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)
                       ? DrawSvg(input, width, height)
                       : QImage(input);
    if (image.isNull()) {
        std::fprintf(stderr,
                     "rasterpicture: %s is no PNG, nor SVG with a view box of whole "
                     "pixels\n",
                     argv[1]);
        return 1;
    }
    image.convertTo(QImage::Format_RGBA8888_Premultiplied);
    QFile output(QString::fromLocal8Bit(argv[2]));
    if (!output.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "rasterpicture: cannot write %s\n", argv[2]);
        return 1;
    }
    output.write(LittleEndian(quint32(image.width())) + LittleEndian(quint32(image.height())));
    for (int y = 0; y < image.height(); ++y)
        output.write(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
    return output.error() == QFile::NoError ? 0 : 1;
}
