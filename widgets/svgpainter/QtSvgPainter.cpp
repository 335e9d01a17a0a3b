#include "QtSvgPainter.h"

#include <QSvgRenderer>

QtSvgPainter::QtSvgPainter() = default;
QtSvgPainter::~QtSvgPainter() = default;

QSvgRenderer* QtSvgPainter::Renderer(const QString& path) {
    std::shared_ptr<QSvgRenderer>& renderer = renderers_[path];
    if (!renderer) renderer = std::make_shared<QSvgRenderer>(path);
    return renderer->isValid() ? renderer.get() : nullptr;
}

QSizeF QtSvgPainter::ViewBox(const QString& path) {
    const QSvgRenderer* renderer = Renderer(path);
    return renderer ? renderer->viewBoxF().size() : QSizeF();
}

void QtSvgPainter::Render(const QString& path, QPainter& painter, const QRectF& target) {
    if (QSvgRenderer* renderer = Renderer(path)) renderer->render(&painter, target);
}

void QtSvgPainter::Forget(const QString& path) {
    renderers_.remove(path);
}
