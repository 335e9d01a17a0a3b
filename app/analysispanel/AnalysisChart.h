// The interface of the analysis chart plugin. The chart is drawn with Qt Charts, which the
// program loads only when a thickness analysis is first shown or printed, so that its
// libraries cost nothing at start-up. The program works out what the chart shows; the
// plugin only draws it.
#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <QtPlugin>

class QPainter;
class QRectF;
class QWidget;

struct AnalysisChartData {
    // A marked thickness: one point, or none where the figure has no value.
    struct Mark {
        QString name;
        bool square = false; // a circle otherwise
        int size = 11;       // across, in pixels
        QColor colour;
        QList<QPointF> points;
    };

    QString title;
    QString figureName;
    QList<QPointF> figure; // the main figure at each thickness, joined by a line
    QString requirementName;
    QColor requirementColour;
    QList<QPointF> requirement; // the two ends of the dashed line
    QList<Mark> marks;
    QString xTitle;
    double xLow = 0, xHigh = 0;
    int xTicks = 2;
    QString yTitle;
    double yLow = 0, yHigh = 0; // widened to round numbers by the chart
};

class AnalysisChart {
public:
    virtual ~AnalysisChart() = default;

    // A view of the chart, owned by parent.
    virtual QWidget* CreateView(const AnalysisChartData& data, QWidget* parent) = 0;
    // Draws the chart without a background into target, in the painter's lengths.
    virtual void Paint(QPainter& painter, const QRectF& target, const AnalysisChartData& data) = 0;
};

#define AnalysisChart_iid "ru.zorbalit.izolcalc.AnalysisChart/1.1"
Q_DECLARE_INTERFACE(AnalysisChart, AnalysisChart_iid)
