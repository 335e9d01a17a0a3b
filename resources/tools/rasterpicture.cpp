// rasterpicture: draws an SVG picture into a PNG with Qt's own SVG renderer, as the window
// draws it, so that the window can show the picture without parsing the SVG.
//
//   rasterpicture <input.svg> <output.png> [<width>x<height>]
//
// Without a box the PNG is the picture at its own size, whose view box must be whole
// pixels; with one, the PNG is the box with the picture centred in it as large as fits.

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "PicturePlacement.h"

#include <cmath>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int width = 0, height = 0;
    if ((argc != 3 && argc != 4) ||
        (argc == 4 &&
         (std::sscanf(argv[3], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0))) {
        std::fprintf(stderr, "usage: rasterpicture <input.svg> <output.png> [<width>x<height>]\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    const QSizeF size = renderer.viewBoxF().size();
    if (!renderer.isValid() || size.isEmpty() || size.width() != std::round(size.width()) ||
        size.height() != std::round(size.height())) {
        std::fprintf(stderr, "rasterpicture: %s is no SVG with a view box of whole pixels\n",
                     argv[1]);
        return 1;
    }
    const QSize box = argc == 4 ? QSize(width, height) : size.toSize();
    QImage image(box, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, PlacedPicture(size, QRectF(QPointF(0, 0), box), Qt::AlignCenter));
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "rasterpicture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
