// The interface of the SVG painter plugin, which draws the program's SVG pictures with Qt
// SVG. The pictures that the window shows at start-up were drawn ahead by the build, so
// the plugin, and Qt SVG behind it, is loaded only when a picture is first drawn at another
// size or scale, or the splash is shown.
#pragma once

#include <QSizeF>
#include <QString>
#include <QtPlugin>

class QPainter;
class QRectF;

class SvgPainter {
public:
    virtual ~SvgPainter() = default;

    // The view box of the SVG file at path; empty when it is no readable SVG.
    virtual QSizeF ViewBox(const QString& path) = 0;
    // Draws the SVG file at path into target; each file is parsed once.
    virtual void Render(const QString& path, QPainter& painter, const QRectF& target) = 0;
    // Frees what was kept of the file at path, for a picture that is not shown again.
    virtual void Forget(const QString& path) = 0;
};

#define SvgPainter_iid "ru.zorbalit.izolcalc.SvgPainter/1.0"
Q_DECLARE_INTERFACE(SvgPainter, SvgPainter_iid)

// The plugin, loaded on the first call; null when it cannot be loaded.
SvgPainter* SvgPainterPlugin();
