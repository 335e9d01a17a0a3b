#include "QtAnalysisChart.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

namespace {

QChart* MakeChart(const AnalysisChartData& data) {
    auto* chart = new QChart;
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    chart->setTitle(data.title);
    chart->legend()->setAlignment(Qt::AlignBottom);

    auto* figure = new QLineSeries;
    figure->setName(data.figureName);
    figure->setPointsVisible(true);
    figure->append(data.figure);
    auto* requirement = new QLineSeries;
    requirement->setName(data.requirementName);
    requirement->setPen(QPen(data.requirementColour, 2, Qt::DashLine));
    requirement->append(data.requirement);
    chart->addSeries(figure);
    chart->addSeries(requirement);
    for (const AnalysisChartData::Mark& mark : data.marks) {
        auto* series = new QScatterSeries;
        series->setName(mark.name);
        series->setMarkerShape(mark.square ? QScatterSeries::MarkerShapeRectangle
                                           : QScatterSeries::MarkerShapeCircle);
        series->setMarkerSize(mark.size);
        series->setColor(mark.colour);
        series->setBorderColor(mark.colour);
        series->append(mark.points);
        chart->addSeries(series);
    }

    auto* x = new QValueAxis;
    x->setTitleText(data.xTitle);
    x->setRange(data.xLow, data.xHigh);
    x->setLabelFormat(QStringLiteral("%.0f"));
    x->setTickCount(data.xTicks);
    auto* y = new QValueAxis;
    y->setTitleText(data.yTitle);
    y->setRange(data.yLow, data.yHigh);
    y->applyNiceNumbers();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    return chart;
}

} // namespace

QWidget* QtAnalysisChart::CreateView(const AnalysisChartData& data, QWidget* parent) {
    auto* view = new QChartView(MakeChart(data), parent);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

void QtAnalysisChart::Paint(QPainter& painter, const QRectF& target,
                            const AnalysisChartData& data) {
    QGraphicsScene scene;
    QChart* chart = MakeChart(data);
    scene.addItem(chart);
    chart->setBackgroundVisible(false);
    chart->setGeometry(QRectF(QPointF(0, 0), target.size()));
    if (chart->layout()) chart->layout()->activate();
    scene.render(&painter, target, QRectF(QPointF(0, 0), target.size()));
}
