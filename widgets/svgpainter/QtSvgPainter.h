// The program's SVG pictures drawn with Qt SVG.
#pragma once

#include "SvgPainter.h"

#include <QHash>
#include <QObject>

#include <memory>

class QSvgRenderer;

class QtSvgPainter : public QObject, public SvgPainter {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SvgPainter_iid)
    Q_INTERFACES(SvgPainter)

public:
    QtSvgPainter();
    ~QtSvgPainter() override;

    QSizeF ViewBox(const QString& path) override;
    void Render(const QString& path, QPainter& painter, const QRectF& target) override;
    void Forget(const QString& path) override;

private:
    // The window shows the same few pictures dozens of times; each file is parsed once.
    QSvgRenderer* Renderer(const QString& path);

    QHash<QString, std::shared_ptr<QSvgRenderer>> renderers_;
};
