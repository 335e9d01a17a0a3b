// The thickness analysis of the calculation shown: the table of the product thicknesses
// around the answer beside a chart of the kind's main figure, with the requirement as a
// line. The user may copy the chart as a picture and take a row as the accepted thickness.
// The chart comes from a plugin, loaded when first needed; without it the panel and the
// printed sheet say so where the chart would stand, and the rest works as before.
#pragma once

#include "ThicknessAnalysis.h"
#include "analysispanel/AnalysisChart.h"

#include <QDialog>

#include <optional>

class QPainter;
class QPushButton;
class QTableWidget;

// What the chart of an analysis shows, for the panel and for the printed sheet.
AnalysisChartData MakeAnalysisChartData(const workflow::ThicknessAnalysis& analysis);

// The chart plugin, loaded on the first call; null when it cannot be loaded.
AnalysisChart* AnalysisChartPlugin();

// Said where the chart would stand when the plugin is missing.
extern const QString AnalysisChartMissingNote;

// The report's second sheet: the table and the chart on A4, the painter's lengths in
// 1/96 inch from the sheet's corner.
void PaintAnalysisPage(QPainter& painter, const workflow::ThicknessAnalysis& analysis,
                       const QString& kindCaption, AnalysisChart* chart = AnalysisChartPlugin());

class AnalysisPanel : public QDialog {
    Q_OBJECT
public:
    AnalysisPanel(workflow::ThicknessAnalysis analysis, const QString& kindCaption, QWidget* parent,
                  AnalysisChart* chart = AnalysisChartPlugin());

    const workflow::ThicknessAnalysis& Analysis() const { return analysis_; }
    // The thickness of the row chosen in the table; none without a chosen row.
    std::optional<int32_t> ChosenMm() const;
    // Copies the chart to the clipboard as a picture.
    void CopyChart();

    QTableWidget* Table;
    QWidget* ChartView; // the plugin's chart, or the note that stands for it
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
