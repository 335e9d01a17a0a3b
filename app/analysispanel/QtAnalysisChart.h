// The analysis chart drawn with Qt Charts.
#pragma once

#include "AnalysisChart.h"

#include <QObject>

class QtAnalysisChart : public QObject, public AnalysisChart {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID AnalysisChart_iid)
    Q_INTERFACES(AnalysisChart)

public:
    QWidget* CreateView(const AnalysisChartData& data, QWidget* parent) override;
    void Paint(QPainter& painter, const QRectF& target, const AnalysisChartData& data) override;
};
