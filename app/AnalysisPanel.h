// The thickness analysis of the calculation shown: the table of the product thicknesses
// around the answer beside a chart of the kind's main figure, with the requirement as a
// line. The user may copy the chart as a picture and take a row as the accepted thickness.
#pragma once

#include "ThicknessAnalysis.h"

#include <QDialog>

#include <optional>

class QChart;
class QPainter;
class QChartView;
class QPushButton;
class QTableWidget;

// The chart of an analysis, for the panel and for anything that draws it elsewhere.
QChart* MakeAnalysisChart(const workflow::ThicknessAnalysis& analysis);

// The report's second sheet: the table and the chart on A4, the painter's lengths in
// 1/96 inch from the sheet's corner.
void PaintAnalysisPage(QPainter& painter, const workflow::ThicknessAnalysis& analysis,
                       const QString& kindCaption);

class AnalysisPanel : public QDialog {
    Q_OBJECT
public:
    AnalysisPanel(workflow::ThicknessAnalysis analysis, const QString& kindCaption,
                  QWidget* parent);

    const workflow::ThicknessAnalysis& Analysis() const { return analysis_; }
    // The thickness of the row chosen in the table; none without a chosen row.
    std::optional<int32_t> ChosenMm() const;
    // Copies the chart to the clipboard as a picture.
    void CopyChart();

    QTableWidget* Table;
    QChartView* ChartView;
    QPushButton* BtnCopyChart;
    QPushButton* BtnAcceptThickness;
    QPushButton* BtnClose;

signals:
    // «Принять эту толщину» on the chosen row.
    void thicknessAccepted(int32_t mm);

private:
    void FillTable();
    workflow::ThicknessAnalysis analysis_;
};
