// The thickness analysis through the window's real controls: what opens it, its table and
// chart for every kind, and a row taken into the schedule.
#include "AnalysisPanel.h"
#include "GroupBarGroup.h"
#include "MessageBoxes.h"
#include "MethodSelection.h"
#include "NumericEdit.h"
#include "PictureButton.h"
#include "ReportPreview.h"
#include "ScheduleFile.h"
#include "ThicknessAnalysis.h"
#include "uGneneralForms.h"
#include "uTitleForm.h"

#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QScatterSeries>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <functional>
#include <memory>

class AnalysisPanelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TFGeneral> window;
    QStringList boxes;

    void Type(NumericEdit* edit, const QString& text) {
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    void Calculate() { QTest::mouseClick(window->RzBmpButton1, Qt::LeftButton); }

    // Ctrl+T; `withPanel` runs while the panel is open, then it is closed.
    bool OpenAnalysis(const std::function<void(AnalysisPanel&)>& withPanel) {
        bool opened = false;
        // Where no panel opens, the timer dies with this call rather than fire into the next.
        QObject scope;
        QTimer::singleShot(50, &scope, [&] {
            auto* panel = qobject_cast<AnalysisPanel*>(QApplication::activeModalWidget());
            if (!panel) return;
            opened = true;
            withPanel(*panel);
            if (panel->isVisible()) panel->reject();
        });
        QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get()) && opened;
    }

    static QString PdfPageText(const QString& pdf, int number) {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral(PDFTOTEXT),
                        {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(number),
                         QStringLiteral("-l"), QString::number(number), pdf, "-"});
        pdftotext.waitForFinished(30000);
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }

    // The analysis sheet alone, without the chart plugin, as an A4 PDF.
    static void WriteSheet(const QString& pdf, const workflow::ThicknessAnalysis& analysis) {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(96);
        QPainter painter(&writer);
        PaintAnalysisPage(painter, analysis, QStringLiteral("Вид"), nullptr);
    }

    // The rows of the freezing kind's analysis at the window's first inputs: thickness, the
    // time to freezing and the verdict (24 h asked).
    static inline const QStringList FreezingRows = {
        "0 0,4 не обеспечено",   "10 6,4 не обеспечено",  "20 11,5 не обеспечено",
        "30 15,9 не обеспечено", "40 19,9 не обеспечено", "50 23,4 не обеспечено",
        "60 26,7 обеспечено",    "70 29,6 обеспечено",    "80 32,3 обеспечено"};

    // The first of the rows that the sheet's text lacks; empty when every row is there.
    static QString RowMissingFrom(const QString& sheet, const QStringList& rows) {
        for (const QString& line : rows) {
            bool found = false;
            for (const QString& text : sheet.split('\n'))
                if (text.simplified().startsWith(line)) found = true;
            if (!found) return line;
        }
        return {};
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QStandardPaths::setTestModeEnabled(true);
        SetMessageBoxHook([this](const QString& text, const QString& caption) {
            boxes << text + " | " + caption;
        });
    }

    void init() {
        QFile::remove(schedule::DefaultSchedulePath());
        QFile::remove(TFGeneral::WindowSettingsPath());
        window = std::make_unique<TFGeneral>();
        FGeneral = window.get();
        window->show();
        QTRY_VERIFY(FTitle);
        FTitle->Image1Click();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        boxes.clear();
    }

    void cleanup() { window.reset(); }

    // Nothing computed, or computed for other inputs: the box says why, and no panel opens.
    void aStaleResultCannotOpenIt() {
        QVERIFY(!OpenAnalysis([](AnalysisPanel&) {}));
        QCOMPARE(boxes, QStringList{"Анализ толщины строится по результату расчёта — нажмите "
                                    "«Рассчитать» | Анализ толщины"});
        boxes.clear();
        Type(window->Field(workflow::Control::RzNumericEdit2), "150");
        Calculate();
        QVERIFY(boxes.isEmpty());
        Type(window->Field(workflow::Control::RzNumericEdit2),
             "160"); // typed, not yet settled: the button settles it
        QVERIFY(!OpenAnalysis([](AnalysisPanel&) {}));
        QCOMPARE(boxes, QStringList{QString::fromStdString(std::string(workflow::StaleResultHint) +
                                                           " | Анализ толщины")});
        boxes.clear();
        Calculate();
        QVERIFY(OpenAnalysis([](AnalysisPanel&) {}));
        QVERIFY(boxes.isEmpty());
    }

    // Every kind: the table's rows are the analysis's, the chart's figure has a point per
    // row, the requirement is a line across it, and both marked thicknesses are drawn.
    void everyKindShowsItsTableAndChart() {
        const std::function<void()> typing[] = {
            [&] { Type(window->Field(workflow::Control::RzNumericEdit2), "150"); },
            [&] {
                Type(window->Field(workflow::Control::RzNumericEdit6), "20");
                Type(window->Field(workflow::Control::RzNumericEdit7), "150");
                Type(window->Field(workflow::Control::RzNumericEdit8), "45");
            },
            [&] {
                Type(window->Field(workflow::Control::RzNumericEdit11), "20");
                Type(window->Field(workflow::Control::RzNumericEdit12), "5");
                Type(window->Field(workflow::Control::RzNumericEdit13), "60");
            },
            [] {},
            [] {},
        };
        for (int kind = 0; kind < 5; ++kind) {
            window->RGCalc->click(kind);
            typing[kind]();
            Calculate();
            QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('\n')));
            const bool opened = OpenAnalysis([&](AnalysisPanel& panel) {
                const workflow::ThicknessAnalysis& a = panel.Analysis();
                QCOMPARE(a.method, kind);
                QCOMPARE(panel.Table->rowCount(), int(a.rows.size()));
                QCOMPARE(panel.Table->columnCount(), int(a.columns.size()) + 3);
                auto* view = qobject_cast<QChartView*>(panel.ChartView); // from the plugin
                QVERIFY(view);
                const QList<QAbstractSeries*> series = view->chart()->series();
                QVERIFY(series.size() >= 3);
                QCOMPARE(static_cast<QLineSeries*>(series[0])->count(), int(a.rows.size()));
                QCOMPARE(static_cast<QLineSeries*>(series[1])->at(0).y(), a.required.value);
                QCOMPARE(static_cast<QScatterSeries*>(series[2])->at(0).x(), double(a.acceptedMm));
                // The accepted row is the chosen one, written as the window writes it.
                QCOMPARE(panel.ChosenMm(), std::optional<int32_t>(a.acceptedMm));
                const QString shown = window->AcceptedCheckLine->text();
                QVERIFY(shown.startsWith(QStringLiteral("Принято %1 мм").arg(a.acceptedMm)));
                panel.CopyChart();
                QVERIFY(!QApplication::clipboard()->pixmap().isNull());
            });
            QVERIFY2(opened, qPrintable(QString::number(kind)));
        }
    }

    // Where the accepted thickness is the first that meets the norm, as it mostly is, the
    // chart shows both marks on the one point: neither hides the other.
    void bothMarksShowOnOneThickness() {
        Type(window->Field(workflow::Control::RzNumericEdit1), "-10");
        Type(window->Field(workflow::Control::RzNumericEdit2), "150");
        Calculate();
        const bool opened = OpenAnalysis([&](AnalysisPanel& panel) {
            const workflow::ThicknessAnalysis& a = panel.Analysis();
            QCOMPARE(a.meetingMm, std::optional<int32_t>(a.acceptedMm));
            const AnalysisChartData data = MakeAnalysisChartData(a);
            QImage chart(800, 500, QImage::Format_RGB32);
            chart.fill(Qt::white);
            QPainter painter(&chart);
            painter.setRenderHint(QPainter::Antialiasing);
            AnalysisChartPlugin()->Paint(painter, QRectF(chart.rect()), data);
            painter.end();
            // Each mark's colour, counted off the legend: the plot's own pixels of it.
            for (const AnalysisChartData::Mark& mark : data.marks) {
                int plotted = 0;
                for (int y = 0; y < chart.height() * 3 / 4; ++y)
                    for (int x = 0; x < chart.width(); ++x)
                        plotted += chart.pixelColor(x, y) == mark.colour;
                QVERIFY2(plotted > 0, qPrintable(mark.name));
            }
        });
        QVERIFY(opened);
    }

    // «Принять эту толщину» adds the calculation to the schedule at the chosen row's
    // thickness, checked there.
    void aChosenRowGoesIntoTheSchedule() {
        window->RGCalc->click(4);
        Calculate();
        int32_t chosen = 0;
        QVERIFY(OpenAnalysis([&](AnalysisPanel& panel) {
            const auto& rows = panel.Analysis().rows;
            const auto first =
                std::find_if(rows.begin(), rows.end(), [](auto& r) { return r.firstMeeting; });
            QVERIFY(first != rows.end());
            panel.Table->selectRow(int(first - rows.begin()));
            chosen = first->mm;
            QTest::mouseClick(panel.BtnAcceptThickness, Qt::LeftButton);
            QVERIFY(!panel.isVisible());
        }));
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('\n')));
        const auto rows = schedule::LoadSchedule(schedule::DefaultSchedulePath()).rows;
        QCOMPARE(rows.size(), std::size_t(1));
        QCOMPARE(rows[0].acceptedMm, chosen);
        QCOMPARE(rows[0].checkState, workflow::CheckState::Met);
        QVERIFY(rows[0].checkFigures.find("время до замерзания") != std::string::npos);
    }

    // The report's second sheet, when asked for: the table read back from the PDF, every
    // row with its verdict, below the first sheet as it was.
    void theReportCarriesTheTableOnItsSecondSheet() {
        window->RGCalc->click(4);
        Calculate();
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        std::optional<workflow::ThicknessAnalysis> shown;
        QObject scope;
        QTimer::singleShot(50, &scope, [&] {
            auto* preview =
                dynamic_cast<reportengine::ReportPreview*>(QApplication::activeModalWidget());
            if (!preview) return;
            QAction* sheet = nullptr;
            for (QAction* action : preview->findChild<QToolBar*>()->actions())
                if (action->text() == TFGeneral::AddAnalysisSheet) sheet = action;
            if (sheet) sheet->trigger();
            preview->askPdfPath = [&] { return pdf; };
            preview->savePdfAction()->trigger();
            preview->close();
        });
        QTest::mouseClick(window->RzBmpButton3, Qt::LeftButton);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const auto analysis = workflow::AnalyseCalculation(4, workflow::InputsAfterChoosing(4));
        QVERIFY(analysis);
        const auto page = [&](int number) { return PdfPageText(pdf, number); };
        const QString first = page(1), second = page(2);
        QVERIFY(first.contains(QStringLiteral("Время до замерзания")));
        QVERIFY2(second.contains(QStringLiteral("Анализ толщины")), qPrintable(second));
        QVERIFY(second.contains(QStringLiteral("в зависимости от толщины"))); // the chart's title
        const QString missing = RowMissingFrom(second, FreezingRows);
        QVERIFY2(missing.isEmpty(), qPrintable(missing + "\n" + second));
        QVERIFY(page(3).trimmed().isEmpty());
    }

    // A mark wider than its column wraps, and its row grows with it: every word of the
    // accepted row stands between the row above and the row below, none cut off.
    void aWrappedMarkStaysInItsRow() {
        workflow::Inputs in = workflow::InputsAfterChoosing(0);
        in.Field(workflow::Control::RzNumericEdit1) = -10;
        in.Field(workflow::Control::RzNumericEdit2) = 150;
        const auto analysis = workflow::AnalyseCalculation(0, in);
        QVERIFY(analysis);
        const auto accepted =
            std::find_if(analysis->rows.begin(), analysis->rows.end(),
                         [](const workflow::AnalysisRow& r) { return r.accepted; });
        QVERIFY(accepted != analysis->rows.begin() && accepted + 1 != analysis->rows.end());
        const QString marks = QString::fromStdString(workflow::RowMarks(*accepted));
        QVERIFY2(marks.contains(' '), qPrintable(marks));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
        WriteSheet(pdf, *analysis);
        QProcess pdftotext;
        pdftotext.start(QStringLiteral(PDFTOTEXT), {QStringLiteral("-bbox"), pdf, "-"});
        QVERIFY(pdftotext.waitForFinished(30000));
        const QString boxes = QString::fromUtf8(pdftotext.readAllStandardOutput());
        struct Word {
            QString text;
            double left, top, bottom;
        };
        std::vector<Word> words;
        const QRegularExpression word(QStringLiteral(
            R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]+)</word>)re"));
        for (auto it = word.globalMatch(boxes); it.hasNext();) {
            const auto m = it.next();
            words.push_back({m.captured(4), m.captured(1).toDouble(), m.captured(2).toDouble(),
                             m.captured(3).toDouble()});
        }
        const auto find = [&](const std::function<bool(const Word&)>& is) -> const Word* {
            const auto w = std::find_if(words.begin(), words.end(), is);
            return w == words.end() ? nullptr : &*w;
        };
        const Word* heading = find([](const Word& w) { return w.text == "Отметка"; });
        QVERIFY(heading);
        // A row's thickness, in the first column.
        const auto thickness = [&](int mm) {
            return find([&](const Word& w) {
                return w.text == QString::number(mm) && w.left < heading->left / 4;
            });
        };
        const Word* above = thickness(std::prev(accepted)->mm);
        const Word* below = thickness(std::next(accepted)->mm);
        QVERIFY(above && below);
        for (const QString& part : marks.split(' ')) {
            const Word* w =
                find([&](const Word& w) { return w.text == part && w.left >= heading->left - 1; });
            QVERIFY2(w, qPrintable(part));
            QVERIFY2(w->top > above->bottom && w->bottom < below->top,
                     qPrintable(QStringLiteral("%1: %2-%3 between %4 and %5")
                                    .arg(part)
                                    .arg(w->top)
                                    .arg(w->bottom)
                                    .arg(above->bottom)
                                    .arg(below->top)));
        }
    }

    // Without the chart plugin the panel and the printed sheet say so where the chart would
    // stand; the table and taking a row work as before.
    void withoutTheChartPluginTheRestWorks() {
        const auto analysis = workflow::AnalyseCalculation(4, workflow::InputsAfterChoosing(4));
        QVERIFY(analysis);
        AnalysisPanel panel(*analysis, QStringLiteral("Вид"), window.get(), nullptr);
        auto* note = qobject_cast<QLabel*>(panel.ChartView);
        QVERIFY(note);
        QCOMPARE(note->text(), AnalysisChartMissingNote);
        QVERIFY(!panel.BtnCopyChart->isEnabled());
        QCOMPARE(panel.Table->rowCount(), int(analysis->rows.size()));
        QVERIFY(panel.BtnAcceptThickness->isEnabled());

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
        WriteSheet(pdf, *analysis);
        const QString sheet = PdfPageText(pdf, 1);
        QVERIFY2(sheet.simplified().contains(AnalysisChartMissingNote), qPrintable(sheet));
        QVERIFY(!sheet.contains(QStringLiteral("в зависимости от толщины")));
        const QString missing = RowMissingFrom(sheet, FreezingRows);
        QVERIFY2(missing.isEmpty(), qPrintable(missing + "\n" + sheet));
    }
};

QTEST_MAIN(AnalysisPanelTest)
#include "AnalysisPanelTest.moc"
