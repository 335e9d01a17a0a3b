#include "AnalysisPanel.h"

#include "Colors.h"
#include "Plugins.h"
#include "ScreenRoom.h"
#include "Utf8Text.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace {

// The chart's width beside the whole table, and the least it is given on any screen.
constexpr int ChartPreferredWidth = 520;
constexpr QSize ChartLeast{420, 300};

QString Caption(const workflow::AnalysisColumn& column) {
    return Text(workflow::ColumnHeading(column));
}

} // namespace

const QString AnalysisChartMissingNote =
    QStringLiteral("Модуль диаграмм не установлен: диаграмма не показана.");

AnalysisChartData MakeAnalysisChartData(const workflow::ThicknessAnalysis& a) {
    AnalysisChartData data;
    data.title = Text(a.mainFigure.name) + QStringLiteral(" в зависимости от толщины");
    data.figureName = Caption(a.mainFigure);
    // The bare surface's figure would flatten every other point: the scale is that of the
    // insulated rows and the requirement, and the bare point's line leaves the plot.
    double low = a.required.value, high = a.required.value;
    for (const workflow::AnalysisRow& row : a.rows) {
        const double y = row.figures.front();
        if (!std::isfinite(y)) continue;
        data.figure.append(QPointF(row.mm, y));
        if (row.mm == 0 && a.rows.size() > 2) continue;
        low = std::min(low, y);
        high = std::max(high, y);
    }
    const double first = a.rows.front().mm, last = a.rows.back().mm;
    data.requirementName = QStringLiteral("%1 %2 %3")
                               .arg(Text(a.required.symbol),
                                    Text(workflow::FigureValue(a.required, DecimalSeparator())),
                                    Text(a.required.unit));
    data.requirementColour = QColor(Colors::Accent);
    data.requirement = {QPointF(first, a.required.value), QPointF(last, a.required.value)};
    const auto mark = [&](const QString& name, bool square, int size, QColor colour, int32_t mm) {
        AnalysisChartData::Mark m{name, square, size, colour, {}};
        const auto row = std::find_if(a.rows.begin(), a.rows.end(),
                                      [mm](const workflow::AnalysisRow& r) { return r.mm == mm; });
        if (row != a.rows.end() && std::isfinite(row->figures.front()))
            m.points.append(QPointF(mm, row->figures.front()));
        data.marks.append(m);
    };
    // The accepted thickness is mostly the first that meets the norm: its circle is drawn
    // first and larger, so that the square drawn over it leaves a ring.
    mark(QStringLiteral("принята %1 мм").arg(a.acceptedMm), false, 17, QColor(0, 90, 180),
         a.acceptedMm);
    if (a.meetingMm)
        mark(QStringLiteral("обеспечено с %1 мм").arg(*a.meetingMm), true, 9, QColor(0, 140, 60),
             *a.meetingMm);

    data.xTitle = QStringLiteral("Толщина изоляции, мм");
    data.xLow = first;
    data.xHigh = std::max(last, first + 10);
    data.xTicks = std::min(int(a.rows.size()), 11);
    data.yTitle =
        Text(workflow::FigureLabel({a.mainFigure.symbol, a.mainFigure.name, a.mainFigure.unit}));
    const double margin = std::max((high - low) * 0.05, 0.5);
    data.yLow = low - margin;
    data.yHigh = high + margin;
    return data;
}

AnalysisChart* AnalysisChartPlugin() {
    static AnalysisChart* const chart = qobject_cast<AnalysisChart*>(
        LoadPlugin(PluginFolders(), QStringLiteral("izolcalc_analysischart")));
    return chart;
}

void PaintAnalysisPage(QPainter& painter, const workflow::ThicknessAnalysis& a,
                       const QString& kindCaption, AnalysisChart* chart) {
    // A4 in 1/96 inch, within margins that printers print.
    const QRectF sheet(57, 57, 794 - 2 * 57, 1123 - 2 * 57);
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(16);
    font.setBold(true);
    painter.setFont(font);
    // A text wrapped to the width given, from y down; returns how tall it stood.
    const auto wrapped = [&painter](const QRectF& box, int flags, const QString& text) {
        QRectF stood;
        painter.drawText(box, flags | Qt::TextWordWrap | Qt::TextDontClip, text, &stood);
        return stood.height();
    };
    double y = sheet.top();
    y += wrapped(QRectF(sheet.left(), y, sheet.width(), 0), Qt::AlignLeft,
                 Text(workflow::AnalysisTitle) + QStringLiteral(" — ") + kindCaption) +
         8;
    font.setPixelSize(11);
    font.setBold(false);
    painter.setFont(font);
    QString note =
        QStringLiteral("Требование: %1 %2 %3. Принята толщина %4 мм")
            .arg(Text(a.required.name), Text(workflow::FigureValue(a.required, DecimalSeparator())),
                 Text(a.required.unit))
            .arg(a.acceptedMm);
    if (a.meetingMm) note += QStringLiteral("; требование выполняется с %1 мм").arg(*a.meetingMm);
    if (a.yearlyHours)
        note += QStringLiteral("; потери за год — при %1 ч работы в году").arg(*a.yearlyHours);
    y += wrapped(QRectF(sheet.left(), y, sheet.width(), 0), Qt::AlignLeft, note + '.') + 10;

    // The table: the thickness, the figures, the verdict and the marks.
    QStringList headings{Text(workflow::ThicknessColumn)};
    for (const workflow::AnalysisColumn& column : a.columns)
        headings << Caption(column);
    headings << QStringLiteral("Вывод") << QStringLiteral("Отметка");
    // The figures share what the thickness, the verdict and room for the marks leave.
    const double figureWidth =
        std::clamp((sheet.width() - 60 - 120 - 150) / double(a.columns.size()), 62.0, 110.0);
    std::vector<double> widths{60};
    for (std::size_t c = 0; c < a.columns.size(); ++c)
        widths.push_back(figureWidth);
    widths.push_back(120);
    double used = 0;
    for (double w : widths)
        used += w;
    widths.push_back(sheet.width() - used);
    const double headingHeight = 44, rowHeight = 17;
    // A row is as tall as its most wrapped cell needs, so that no text leaves its cell.
    const auto cells = [&](const QStringList& texts, double top, double least, bool bold) {
        QFont cellFont = font;
        cellFont.setBold(bold);
        painter.setFont(cellFont);
        const QFontMetricsF metrics(cellFont, painter.device());
        double height = least;
        for (int c = 0; c < int(texts.size()); ++c) {
            const QRectF room(0, 0, widths[std::size_t(c)] - 6, 1e6);
            height = std::max(height,
                              metrics.boundingRect(room, Qt::TextWordWrap, texts[c]).height() + 2);
        }
        double x = sheet.left();
        for (int c = 0; c < int(texts.size()); ++c) {
            const QRectF cell(x, top, widths[std::size_t(c)], height);
            painter.drawRect(cell);
            const bool number = c > 0 && c + 2 < int(texts.size());
            painter.drawText(cell.adjusted(3, 1, -3, -1),
                             (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter |
                                 Qt::TextWordWrap | Qt::TextDontClip,
                             texts[c]);
            x += widths[std::size_t(c)];
        }
        return height;
    };
    painter.setPen(QPen(Qt::black, 0.5));
    y += cells(headings, y, headingHeight, true);
    const std::string separator = DecimalSeparator();
    for (const workflow::AnalysisRow& row : a.rows) {
        QStringList texts{QString::number(row.mm)};
        for (std::size_t c = 0; c < a.columns.size(); ++c)
            texts << Text(workflow::AnalysisValue(row.figures[c], a.columns[c], separator));
        texts << Text(workflow::ShortVerdict(row.state)) << Text(workflow::RowMarks(row));
        y += cells(texts, y, rowHeight, row.accepted);
    }
    y += 16;

    // The chart below, as the panel draws it.
    const QRectF chartRect(sheet.left(), y, sheet.width(),
                           std::min(sheet.bottom() - y, sheet.width() * 0.62));
    if (chart) {
        chart->Paint(painter, chartRect, MakeAnalysisChartData(a));
    } else {
        painter.drawRect(chartRect);
        painter.drawText(chartRect.adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                         AnalysisChartMissingNote);
    }
    painter.restore();
}

AnalysisPanel::AnalysisPanel(workflow::ThicknessAnalysis analysis, const QString& kindCaption,
                             QWidget* parent, AnalysisChart* chart)
    : QDialog(parent)
    , analysis_(std::move(analysis)) {
    setObjectName(QStringLiteral("AnalysisPanel"));
    setWindowTitle(Text(workflow::AnalysisTitle) + QStringLiteral(" — ") + kindCaption);

    Table = new QTableWidget(this);
    Table->setObjectName(QStringLiteral("AnalysisTable"));
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->verticalHeader()->hide();
    FillTable();

    if (chart) {
        ChartView = chart->CreateView(MakeAnalysisChartData(analysis_), this);
    } else {
        auto* note = new QLabel(AnalysisChartMissingNote, this);
        note->setFrameShape(QFrame::Box);
        note->setAlignment(Qt::AlignCenter);
        note->setWordWrap(true);
        note->setMargin(12);
        ChartView = note;
    }
    ChartView->setObjectName(QStringLiteral("AnalysisChart"));
    ChartView->setMinimumSize(ChartLeast);

    BtnCopyChart = new QPushButton(QStringLiteral("&Копировать диаграмму"), this);
    BtnCopyChart->setObjectName(QStringLiteral("BtnCopyChart"));
    BtnCopyChart->setToolTip(QStringLiteral("Скопировать диаграмму в буфер обмена как рисунок"));
    BtnAcceptThickness = new QPushButton(QStringLiteral("&Принять эту толщину"), this);
    BtnAcceptThickness->setObjectName(QStringLiteral("BtnAcceptThickness"));
    BtnAcceptThickness->setToolTip(
        QStringLiteral("Добавить расчёт в ведомость с толщиной выбранной строки"));
    BtnCopyChart->setEnabled(chart != nullptr);
    BtnClose = new QPushButton(QStringLiteral("&Закрыть"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    connect(BtnCopyChart, &QPushButton::clicked, this, &AnalysisPanel::CopyChart);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnAcceptThickness, &QPushButton::clicked, this, [this] {
        if (const auto mm = ChosenMm()) emit thicknessAccepted(*mm);
    });
    const auto chosen = [this] { BtnAcceptThickness->setEnabled(ChosenMm().has_value()); };
    connect(Table, &QTableWidget::itemSelectionChanged, this, chosen);
    // The accepted row is chosen to begin with.
    for (int r = 0; r < int(analysis_.rows.size()); ++r)
        if (analysis_.rows[std::size_t(r)].accepted) Table->selectRow(r);
    chosen();

    // The table and the chart share the width, which the user may move between them.
    auto* panes = new QSplitter(Qt::Horizontal, this);
    panes->setObjectName(QStringLiteral("AnalysisPanes"));
    panes->setChildrenCollapsible(false);
    panes->addWidget(Table);
    panes->addWidget(ChartView);
    panes->setStretchFactor(0, 1);
    panes->setStretchFactor(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnCopyChart);
    buttons->addStretch();
    buttons->addWidget(BtnAcceptThickness);
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panes, 1);
    layout->addLayout(buttons);
    // The whole table beside the chart where the screen has room; on a narrower one the
    // chart keeps its least size and the table scrolls.
    const int table = Table->horizontalHeader()->length() + 2 * Table->frameWidth() +
                      Table->verticalScrollBar()->sizeHint().width();
    const QMargins margins = layout->contentsMargins();
    const int around = margins.left() + margins.right() + panes->handleWidth();
    resize(QSize(around + table + ChartPreferredWidth, 600).boundedTo(ScreenRoom(this)));
    const int inside = width() - around;
    const int tableShown = std::min(table, inside - ChartLeast.width());
    panes->setSizes({tableShown, inside - tableShown});
}

void AnalysisPanel::FillTable() {
    const auto& a = analysis_;
    QStringList headings{Text(workflow::ThicknessColumn)};
    for (const workflow::AnalysisColumn& column : a.columns)
        headings << Caption(column);
    headings << QStringLiteral("Вывод") << QStringLiteral("Отметка");
    Table->setColumnCount(int(headings.size()));
    Table->setHorizontalHeaderLabels(headings);
    for (std::size_t c = 0; c < a.columns.size(); ++c)
        Table->horizontalHeaderItem(int(c) + 1)->setToolTip(Text(a.columns[c].name));
    Table->setRowCount(int(a.rows.size()));
    const std::string separator = DecimalSeparator();
    for (int r = 0; r < int(a.rows.size()); ++r) {
        const workflow::AnalysisRow& row = a.rows[std::size_t(r)];
        QStringList cells{QString::number(row.mm)};
        for (std::size_t c = 0; c < a.columns.size(); ++c)
            cells << Text(workflow::AnalysisValue(row.figures[c], a.columns[c], separator));
        cells << Text(workflow::ShortVerdict(row.state)) << Text(workflow::RowMarks(row));
        for (int c = 0; c < int(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c + 2 < int(cells.size()) ? Qt::AlignRight | Qt::AlignVCenter
                                                             : Qt::AlignLeft | Qt::AlignVCenter);
            if (row.accepted) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            if (row.firstMeeting) item->setBackground(QColor(Colors::HoverTint));
            if (c == int(cells.size()) - 2 && workflow::CheckAccented(row.state))
                item->setForeground(QColor(Colors::Accent));
            Table->setItem(r, c, item);
        }
    }
    Table->resizeColumnsToContents();
    Table->horizontalHeader()->setStretchLastSection(true);
}

std::optional<int32_t> AnalysisPanel::ChosenMm() const {
    const auto rows = Table->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return analysis_.rows[std::size_t(rows.front().row())].mm;
}

void AnalysisPanel::CopyChart() {
    QApplication::clipboard()->setPixmap(ChartView->grab());
}
