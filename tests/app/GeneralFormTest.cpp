// The main window through its real controls: start-up state, the choice of a kind, the
// road of one calculation, rejections with their message and focus, and the field
// behaviours. Message boxes go to a hook; a real modal dialog would fail the watchdog.
#include "Colors.h"
#include "CommandLine.h"
#include "GroupBar.h"
#include "GroupBarGroup.h"
#include "MessageBoxes.h"
#include "NumericEdit.h"
#include "PdfText.h"
#include "PictureButton.h"
#include "ProgramSettings.h"
#include "RadioGroup.h"
#include "ReportPreview.h"
#include "ScheduleFile.h"
#include "ScheduleModel.h"
#include "SchedulePage.h"
#include "ScheduleStore.h"
#include "TCalc.h"
#include "ValueComboBox.h"
#include "uGneneralForms.h"
#include "uTitleForm.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>
#include <memory>

class GeneralFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TFGeneral> window;
    QStringList boxes; // "text | caption" of every box shown
    bool expectModal = false;

    QStringList MaterialRows() const {
        QStringList rows;
        for (int i = 0; i < window->RzComboBox1->count(); ++i)
            rows << window->RzComboBox1->itemText(i) + " = " + window->RzComboBox1->value(i);
        return rows;
    }

    // Types into a field as the user does; the text is settled when the field is left.
    void Type(NumericEdit* edit, const QString& text) {
        edit->setFocus(Qt::MouseFocusReason);
        QVERIFY(edit->hasFocus());
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    // Types without leaving the field: the text stands, the value is not settled yet.
    void TypeOnly(NumericEdit* edit, const QString& text) {
        Type(edit, text);
        QVERIFY(edit->hasFocus());
    }

    void Calculate() { QTest::mouseClick(window->RzBmpButton1, Qt::LeftButton); }

    // Clicks the report button, saves the previewed page as the user would and returns its
    // text as pdftotext reads it; also the title that the preview gave the printer.
    QString Report(QString* docName = nullptr) {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        expectModal = true;
        QTimer::singleShot(50, this, [&] {
            auto* preview =
                dynamic_cast<reportengine::ReportPreview*>(QApplication::activeModalWidget());
            if (!preview) return;
            if (docName) *docName = preview->printer().docName();
            preview->askPdfPath = [&] { return pdf; };
            preview->savePdfAction()->trigger();
            preview->close();
        });
        QTest::mouseClick(window->RzBmpButton3, Qt::LeftButton);
        expectModal = false;
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) return {};
        return PdfText(pdf, {QStringLiteral("-layout")});
    }

    // The printed line that starts with a label, with its runs of blanks made one.
    static QString Line(const QString& report, const QString& label) {
        for (QString line : report.split(QLatin1Char('\n')))
            if (line.simplified().startsWith(label)) return line.simplified();
        return {};
    }

    bool ResultLooksStale() const {
        return window->RzLabel4->palette().color(QPalette::WindowText) != QColor(Qt::red) &&
               !window->RzLabel4->toolTip().isEmpty();
    }

    QStringList TakeBoxes() { return std::exchange(boxes, {}); }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        // The schedule's file goes to a test folder, never to the user's own.
        QStandardPaths::setTestModeEnabled(true);
        SetMessageBoxHook([this](const QString& text, const QString& caption) {
            boxes << text + " | " + caption;
        });
        // Anything modal that slips past the hook fails the run instead of hanging it.
        auto* watchdog = new QTimer(this);
        connect(watchdog, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && !expectModal) {
                modal->close();
                QFAIL("an unexpected modal dialog was shown");
            }
        });
        watchdog->start(500);
    }

    void init() {
        QFile::remove(schedule::DefaultSchedulePath());
        QFile::remove(TFGeneral::WindowSettingsPath());
        OpenWindow();
        boxes.clear();
    }

    // A new window, as the program opens it.
    void OpenWindow() {
        window = std::make_unique<TFGeneral>();
        FGeneral = window.get();
        window->show();
        QTRY_VERIFY(FTitle); // the splash follows the window's first paint
        FTitle->Image1Click();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() {
        expectModal = false;
        window.reset();
    }

    void opensOnTheFirstKindWithItsDefaults() {
        QCOMPARE(window->objectName(), QStringLiteral("FGeneral"));
        QCOMPARE(window->size(), QSize(834, 561));
        QCOMPARE(window->Notebook->currentWidget()->objectName(),
                 QStringLiteral("DensityHeatThred"));
        QCOMPARE(window->CalcMethod(), 0);
        QCOMPARE(window->StaticText->text(),
                 QStringLiteral("Расчёт толщины изоляции по нормам плотности теплового потока"));
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("0"));
        QVERIFY(window->Engine());
        QCOMPARE(window->RzComboBox3->currentText(), QStringLiteral("108"));
        for (RadioGroup* group : {window->RzRadioGroup1, window->RzRadioGroup2,
                                  window->RzRadioGroup3, window->RzRadioGroup4})
            QCOMPARE(group->currentIndex(), 0);
        QCOMPARE(MaterialRows().size(), 6);
        QCOMPARE(window->RzComboBox1->currentText(), QStringLiteral("Цилиндр ЗОРБАЛИТ - 80"));
        QCOMPARE(window->RzComboBox1->currentValue(), QStringLiteral("4"));
        // The other kinds' pages are made when first shown, with their defaults.
        QVERIFY(!window->Field(workflow::Control::RzNumericEdit25) &&
                !window->Field(workflow::Control::RzNumericEdit24) && !window->SchedulePane);
        window->RGCalc->click(4);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit25)->value(), -40);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit28)->value(), 24);
        QCOMPARE(qobject_cast<ValueComboBox*>(window->Widget(workflow::Control::RzComboBox2))
                     ->currentText(),
                 QStringLiteral("Бесканальный"));
        window->RGCalc->click(3);
        QCOMPARE(qobject_cast<ValueComboBox*>(window->Widget(workflow::Control::RzComboBox4))
                     ->currentText(),
                 QStringLiteral("90"));
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit24)->text(), QStringLiteral("50"));
        QVERIFY(!window->Field(workflow::Control::RzNumericEdit24)->isEnabled());
        // Every control is reachable under its own name.
        QCOMPARE(window->findChild<NumericEdit*>("RzNumericEdit17"),
                 window->Field(workflow::Control::RzNumericEdit17));
        QCOMPARE(window->findChild<QLabel*>("RzLabel6"), window->RzLabel6);
    }

    void visibilityOfTheCommonControlsPerKind() {
        const QList<QWidget*> rows[] = {{window->RzLabel16, window->RzRadioGroup1},
                                        {window->RzLabel11, window->RzRadioGroup2},
                                        {window->RzLabel17, window->RzRadioGroup3},
                                        {window->RzLabel18, window->RzRadioGroup4}};
        const bool matrix[4][5] = {{true, true, true, false, false},
                                   {true, true, false, false, false},
                                   {true, true, true, false, false},
                                   {true, false, false, true, false}};
        for (int kind = 0; kind < 5; ++kind) {
            window->RGCalc->click(kind);
            QCOMPARE(window->CalcMethod(), kind);
            QCOMPARE(window->RzLabel4->text(), QStringLiteral("0"));
            for (int row = 0; row < 4; ++row)
                for (QWidget* control : rows[row])
                    QVERIFY2(control->isVisible() == matrix[row][kind],
                             qPrintable(control->objectName() + " kind " + QString::number(kind)));
        }
        QCOMPARE(
            window->StaticText->text(),
            QStringLiteral(
                "Расчёт толщины изоляции с целью предотвращения замерзания воды в трубопроводе"));
    }

    void roadOfOneCalculation() {
        window->RGCalc->click(1);
        Type(window->Field(workflow::Control::RzNumericEdit6), "20");
        Type(window->Field(workflow::Control::RzNumericEdit7), "150");
        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        Calculate();
        QCOMPARE(TakeBoxes(), QStringList());
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("30,0"));
        QCOMPARE(window->Engine()->SurfaceTemp, 45);

        // A rejection keeps the last result and names the reason.
        Type(window->Field(workflow::Control::RzNumericEdit8), "20");
        Calculate();
        QCOMPARE(TakeBoxes(), QStringList{"Температура на поверхности равна температуре воздуха | "
                                          "Ошибка ввода данных"});
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("30,0"));

        // Choosing the kind again resets the result.
        window->RGCalc->click(1);
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("0"));
    }

    void oneRejectionPerKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("focus");
        QTest::newRow("norm density")
            << 0 << "RzNumericEdit1"
            << "30"
            << "При заданных условиях теплопотери исключены | Ошибка ввода данных"
            << "RzBmpButton1";
        QTest::newRow("surface")
            << 1 << "RzNumericEdit8"
            << "160"
            << "При данном перепаде температур теплоизоляция не нужна | Ошибка ввода данных"
            << "RzBmpButton1";
        QTest::newRow("condensation")
            << 2 << "RzNumericEdit12"
            << "30"
            << "Конденсация в таких условиях невозможна | Ошибка ввода данных"
            << "RzBmpButton1";
        QTest::newRow("channel") << 3 << "RzNumericEdit18"
                                 << "0"
                                 << "Канал выходит на поверхность | Ошибка ввода данных"
                                 << "RzNumericEdit18";
        QTest::newRow("freezing") << 4 << "RzNumericEdit25"
                                  << "5"
                                  << "При положительной температуре воздуха замерзание исключено | "
                                     "Ошибка ввода данных"
                                  << "RzNumericEdit25";
    }

    void oneRejectionPerKind() {
        QFETCH(int, kind);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, box);
        QFETCH(QString, focus);
        window->RGCalc->click(kind);
        // Kind 0 and 1 carriers at 20 °C make the typed value decide.
        if (kind == 0) Type(window->Field(workflow::Control::RzNumericEdit2), "20");
        if (kind == 1) Type(window->Field(workflow::Control::RzNumericEdit7), "150");
        Type(window->findChild<NumericEdit*>(field), typed);
        Calculate();
        QCOMPARE(TakeBoxes(), QStringList{box});
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused);
        QCOMPARE(focused->objectName(), focus);
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("0"));
    }

    // Each size of the channel that is too small is told once, with the smallest size that
    // holds the insulated pipes.
    void aChannelTooSmallIsToldOncePerSize() {
        window->RGCalc->click(3);
        Type(window->Field(workflow::Control::RzNumericEdit21), "0,3");
        Type(window->Field(workflow::Control::RzNumericEdit22), "0,3");
        Calculate();
        QCOMPARE(TakeBoxes(),
                 (QStringList{"Высота канала недостаточна: трубы в изоляции помещаются при высоте "
                              "от 0,391 м | Скорректируйте входные данные",
                              "Ширина канала недостаточна: трубы в изоляции помещаются при ширине "
                              "от 0,681 м | Скорректируйте входные данные"}));
        Type(window->Field(workflow::Control::RzNumericEdit22), "1");
        Calculate();
        QCOMPARE(TakeBoxes(),
                 QStringList{"Высота канала недостаточна: трубы в изоляции помещаются при высоте "
                             "от 0,404 м | Скорректируйте входные данные"});
        Type(window->Field(workflow::Control::RzNumericEdit21), "0,404");
        Calculate();
        QCOMPARE(TakeBoxes(), QStringList());
    }

    void objectSwitchAndDiameterKeepTheMaterialList() {
        window->RzRadioGroup1->setCurrentIndex(1);
        QCOMPARE(MaterialRows().size(), 5);
        QCOMPARE(window->RzComboBox1->currentIndex(), 0);
        QCOMPARE(window->RzComboBox1->value(4), QStringLiteral("6"));
        QVERIFY(!window->RzComboBox3->isVisible());
        QVERIFY(!window->RzLabel31->isVisible());

        window->RzRadioGroup1->setCurrentIndex(0);
        QCOMPARE(MaterialRows().size(), 6);
        QCOMPARE(window->RzComboBox1->currentText(), QStringLiteral("Цилиндр ЗОРБАЛИТ - 80"));
        QVERIFY(window->RzComboBox3->isVisible());
        QCOMPARE(window->RzComboBox3->currentText(), QStringLiteral("108"));

        // The user picks 273 mm: the lamellar mat joins the list, last.
        window->RzComboBox3->setCurrentIndex(11);
        emit window->RzComboBox3->activated(11);
        QCOMPARE(MaterialRows().size(), 7);
        QCOMPARE(MaterialRows().last(), QStringLiteral("Мат ламельный ЗОРБАЛИТ = 6"));

        // From a plane, the channel kind sets the object to a pipe like the user's own switch.
        window->RzRadioGroup1->setCurrentIndex(1);
        window->RGCalc->click(3);
        QCOMPARE(window->RzRadioGroup1->currentIndex(), 0);
        QCOMPARE(MaterialRows().size(), 7);
        QVERIFY(window->RzComboBox3->isVisible());
    }

    void fieldRulesThroughTheRealControls() {
        // A shown "0" gives way on entry; other values stay.
        window->Field(workflow::Control::RzNumericEdit1)->setFocus(Qt::TabFocusReason);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit1)->text(), QString());
        window->RGCalc->click(4);
        window->Field(workflow::Control::RzNumericEdit25)->setFocus(Qt::TabFocusReason);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit25)->text(), QStringLiteral("-40"));

        // Limits apply on leaving; the channel kind's own values are set when it is chosen.
        window->RGCalc->click(3);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit21)->text(), QStringLiteral("0,5"));
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit17)->text(), QStringLiteral("1,8"));
        Type(window->Field(workflow::Control::RzNumericEdit21), "7");
        window->Field(workflow::Control::RzNumericEdit22)->setFocus(Qt::TabFocusReason);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit21)->value(), 5);

        // The condensation air temperature announces its range, then takes the limit.
        window->RGCalc->click(2);
        Type(window->Field(workflow::Control::RzNumericEdit11), "60");
        window->Field(workflow::Control::RzNumericEdit12)->setFocus(Qt::TabFocusReason);
        QCOMPARE(TakeBoxes(), QStringList{"Диапазон температур предусмотрен от -40 до +50 °С | "
                                          "Ошибка ввода данных"});
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit11)->value(), 50);

        // The humidity below its range is raised before the calculation and stays raised.
        Calculate();
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit13)->value(), 50);
    }

    void reportButtonOpensThePreviewOfTheShownKind() {
        window->RGCalc->click(1);
        Type(window->Field(workflow::Control::RzNumericEdit6), "20");
        Type(window->Field(workflow::Control::RzNumericEdit7), "150");
        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        Calculate();
        expectModal = true;
        bool previewShown = false;
        QTimer::singleShot(50, this, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                previewShown = modal->isMaximized() && modal->findChild<QPrintPreviewWidget*>();
                modal->close();
            }
        });
        QTest::mouseClick(window->RzBmpButton3, Qt::LeftButton);
        expectModal = false;
        QVERIFY(previewShown);
    }

    void theReportSettlesTheEditedFieldFirst() {
        // A value typed and not yet left is what the report prints, after its field's rules.
        window->RGCalc->click(1);
        Type(window->Field(workflow::Control::RzNumericEdit6), "20");
        Type(window->Field(workflow::Control::RzNumericEdit7), "150");
        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        Calculate();
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("30,0"));
        TypeOnly(window->Field(workflow::Control::RzNumericEdit7), "200");
        QString docName;
        const QString printed = Report(&docName);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit7)->value(), 200);
        QCOMPARE(Line(printed, "Температура теплоносителя"),
                 QStringLiteral("Температура теплоносителя °С 200"));
        // 30 mm was computed for 150 °C: it is not printed beside 200 °C.
        QCOMPARE(Line(printed, "Принятая толщина"),
                 QStringLiteral("Принятая толщина тепловой изоляции, мм —"));
        QVERIFY(printed.contains("Расчёт для приведённых исходных данных не выполнен"));
        QVERIFY(docName.startsWith("Толщина изоляции — по заданной температуре поверхности — "));

        // The channel height is brought into range before it is printed.
        window->RGCalc->click(3);
        TypeOnly(window->Field(workflow::Control::RzNumericEdit21), "7");
        QCOMPARE(Line(Report(), "Высота канала"), QStringLiteral("Высота канала, м 5"));

        // The range message of the condensation air temperature comes before the report.
        window->RGCalc->click(2);
        TypeOnly(window->Field(workflow::Control::RzNumericEdit11), "60");
        const QString condensation = Report();
        QCOMPARE(TakeBoxes(), QStringList{"Диапазон температур предусмотрен от -40 до +50 °С | "
                                          "Ошибка ввода данных"});
        QCOMPARE(Line(condensation, "Температура окружающего"),
                 QStringLiteral("Температура окружающего воздуха °С 50"));
    }

    void aResultShowsWhenItNoLongerBelongsToTheInputs() {
        window->RGCalc->click(1);
        Type(window->Field(workflow::Control::RzNumericEdit6), "20");
        Type(window->Field(workflow::Control::RzNumericEdit7), "150");
        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        QVERIFY(!ResultLooksStale()); // "0": nothing computed, nothing stale
        Calculate();
        QVERIFY(!ResultLooksStale());
        QCOMPARE(Line(Report(), "Принятая толщина"),
                 QStringLiteral("Принятая толщина тепловой изоляции, мм 30,0"));

        // Typing over an input the kind reads marks the result at once; typing the same
        // value back, or leaving it unchanged, does not leave it marked.
        TypeOnly(window->Field(workflow::Control::RzNumericEdit8), "50");
        QVERIFY(ResultLooksStale());
        QCOMPARE(window->RzLabel4->toolTip(),
                 QStringLiteral("Исходные данные изменены после расчёта — нажмите «Рассчитать»"));
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("30,0"));
        TypeOnly(window->Field(workflow::Control::RzNumericEdit8), "45");
        QVERIFY(!ResultLooksStale());
        window->RzRadioGroup3->setCurrentIndex(1);
        QVERIFY(ResultLooksStale());
        window->RzRadioGroup3->setCurrentIndex(0);
        QVERIFY(!ResultLooksStale());
        window->RzComboBox1->setCurrentIndex(0);
        QVERIFY(ResultLooksStale());
        Calculate();
        QVERIFY(!ResultLooksStale());

        // Before any calculation of a kind the report prints no thickness at all.
        window->RGCalc->click(4);
        QVERIFY(!ResultLooksStale());
        QCOMPARE(Line(Report(), "Принятая толщина"),
                 QStringLiteral("Принятая толщина тепловой изоляции, мм —"));
    }

    // The status strip tells what the accepted thickness gives, in the accent colour when it
    // falls short; it empties when a kind is chosen, when a calculation is rejected and
    // while the result is stale. The report prints the same figures.
    void theStatusStripChecksTheAcceptedThickness() {
        QLabel* strip = window->AcceptedCheckLine;
        auto shortfall = [&] {
            return strip->palette().color(QPalette::WindowText) == QColor(Colors::Accent);
        };
        window->RGCalc->click(1);
        QCOMPARE(strip->text(), QString());
        Type(window->Field(workflow::Control::RzNumericEdit6), "20");
        Type(window->Field(workflow::Control::RzNumericEdit7), "200");
        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        Calculate();
        QCOMPARE(strip->text(),
                 QStringLiteral(
                     "Принято 40 мм: tпов = 44,0 °С (задана 45), q = 85,0 Вт/м — обеспечено"));
        QVERIFY(!shortfall());

        // 52 mm rounds down to 50: short by no more than the norm allows, in the text colour,
        // and the product thickness that meets it.
        Type(window->Field(workflow::Control::RzNumericEdit7), "250");
        Calculate();
        const QString allowance = QStringLiteral(
            "в пределах допуска 3 мм (СП 61.13330.2012, п. 6.12); с запасом — 60 мм");
        QVERIFY(strip->text().endsWith(allowance));
        QVERIFY(!shortfall());
        QVERIFY(Report().simplified().contains(QStringLiteral("Требование ") + allowance));

        TypeOnly(window->Field(workflow::Control::RzNumericEdit7), "260"); // stale
        QCOMPARE(strip->text(), QString());
        TypeOnly(window->Field(workflow::Control::RzNumericEdit7), "250"); // current again
        QVERIFY(!strip->text().isEmpty());
        QVERIFY(Line(Report(), "Требование").startsWith(QStringLiteral("Требование")));

        Type(window->Field(workflow::Control::RzNumericEdit8),
             "20"); // the surface at the air: rejected
        Calculate();
        TakeBoxes();
        QCOMPARE(strip->text(), QString());

        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        Calculate();
        QVERIFY(!strip->text().isEmpty());
        window->RGCalc->click(0);
        QCOMPARE(strip->text(), QString());
        QCOMPARE(Line(Report(), "Требование"), QString());

        // Freezing has no allowance: its defaults fall short, in the accent colour.
        window->RGCalc->click(4);
        Calculate();
        QVERIFY(strip->text().endsWith(QStringLiteral("не обеспечено; требуется 60 мм")));
        QVERIFY(shortfall());
        QCOMPARE(Line(Report(), "Требование"),
                 QStringLiteral("Требование не обеспечено; требуется 60 мм"));
    }

    // The same inputs give the same answer after a calculation of another kind.
    void theSameInputsGiveTheSameAnswerAfterAnotherKind() {
        auto condensation = [&] {
            window->RGCalc->click(2);
            Type(window->Field(workflow::Control::RzNumericEdit11), "20");
            Type(window->Field(workflow::Control::RzNumericEdit12), "5");
            Type(window->Field(workflow::Control::RzNumericEdit13), "70");
            window->RzComboBox1->setCurrentIndex(3); // «Мат прошивной  ГОСТ М1-100…»
            Calculate();
            return window->AcceptedCheckLine->text();
        };
        const QString first = condensation();
        QVERIFY2(first.contains(QStringLiteral("tпов = 13,6 °С")), qPrintable(first));
        window->RGCalc->click(1);
        Type(window->Field(workflow::Control::RzNumericEdit6), "20");
        Type(window->Field(workflow::Control::RzNumericEdit7), "150");
        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        Calculate();
        QCOMPARE(condensation(), first);
    }

    // The norm of a pipe is per metre, that of a plane per square metre.
    void theNormsUnitFollowsTheObject() {
        QCOMPARE(window->findChild<QLabel*>("RzLabel3")->text(),
                 QStringLiteral("Норма тепловых потерь (Вт/м)______________"));
        window->RzRadioGroup1->setCurrentIndex(1);
        QCOMPARE(window->findChild<QLabel*>("RzLabel3")->text(),
                 QStringLiteral("Норма тепловых потерь (Вт/м²)______________"));
        window->RzRadioGroup1->setCurrentIndex(0);
        QCOMPARE(window->findChild<QLabel*>("RzLabel3")->text(),
                 QStringLiteral("Норма тепловых потерь (Вт/м)______________"));
    }

    // The schedule collects successful, current calculations from the window (Ctrl+D) and
    // from the preview; its item counts them; a double click shows one again, Del removes
    // it, and clearing asks first.
    void theScheduleCollectsCalculations() {
        const QString caption = QStringLiteral("Ведомость расчётов");
        auto addByKey = [&] { QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier); };
        window->RGCalc->click(1);
        Type(window->Field(workflow::Control::RzNumericEdit6), "20");
        Type(window->Field(workflow::Control::RzNumericEdit7), "200");
        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        addByKey(); // nothing calculated yet
        QCOMPARE(TakeBoxes(), QStringList{"В ведомость добавляется выполненный расчёт для "
                                          "показанных исходных данных: нажмите «Рассчитать» | " +
                                          caption});
        Calculate();
        addByKey();
        QCOMPARE(TakeBoxes(), QStringList());
        QCOMPARE(window->GrSchedule->itemCaption(0), caption + " (1)");

        Type(window->Field(workflow::Control::RzNumericEdit7), "250");
        Calculate();
        bool added = false;
        expectModal = true;
        QTimer::singleShot(50, this, [&] {
            QWidget* preview = QApplication::activeModalWidget();
            if (!preview) return;
            for (QAction* action : preview->findChildren<QAction*>())
                if (action->text() == QStringLiteral("&В ведомость")) {
                    action->trigger();
                    added = !action->isEnabled(); // once is enough
                }
            preview->close();
        });
        QTest::mouseClick(window->RzBmpButton3, Qt::LeftButton);
        expectModal = false;
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QVERIFY(added);
        QCOMPARE(window->GrSchedule->itemCaption(0), caption + " (2)");

        TypeOnly(window->Field(workflow::Control::RzNumericEdit7), "260"); // stale
        addByKey();
        QCOMPARE(TakeBoxes(),
                 QStringList{"Исходные данные изменены после расчёта — нажмите «Рассчитать» | " +
                             caption});

        window->GrSchedule->click(0);
        QCOMPARE(window->Notebook1->currentWidget(), window->Schedule());
        QTableView* table = window->Schedule()->table();
        QCOMPARE(table->model()->rowCount(), 2);
        QCOMPARE(table->model()->index(1, ScheduleModel::Check).data().toString(),
                 QStringLiteral("tпов = 46,1 °С (задана 45), q = 102,2 Вт/м — в пределах допуска "
                                "3 мм (СП 61.13330.2012, п. 6.12); с запасом — 60 мм"));
        addByKey(); // no kind shown
        QCOMPARE(TakeBoxes(), QStringList{"Выберите вид расчёта | " + caption});

        // The first row again, in its kind's page, ready to calculate.
        QCoreApplication::processEvents(); // the table lays its rows out
        const QRect cell = table->visualRect(table->model()->index(0, ScheduleModel::Object));
        QVERIFY(cell.isValid());
        // A double click is a click and then a second press that the view sees as double.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(window->Notebook1->currentWidget(), window->Calc);
        QCOMPARE(window->CalcMethod(), 1);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit7)->value(), 200.0);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit8)->value(), 45.0);
        Calculate();
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("40,0"));

        window->GrSchedule->click(0);
        table->setFocus();
        table->selectRow(0);
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(table->model()->rowCount(), 1);
        QCOMPARE(window->GrSchedule->itemCaption(0), caption + " (1)");

        bool answer = false;
        QStringList questions;
        SetQuestionHook([&](const QString& text, const QString&) {
            questions << text;
            return answer;
        });
        window->Schedule()->ClearAll();
        QCOMPARE(table->model()->rowCount(), 1);
        answer = true;
        window->Schedule()->ClearAll();
        SetQuestionHook({});
        QCOMPARE(questions.size(), 2);
        QCOMPARE(table->model()->rowCount(), 0);
        QCOMPARE(window->GrSchedule->itemCaption(0), caption);
    }

    // The schedule outlives the window: a new one reads it back; an unreadable file is set
    // aside, said so, and the schedule starts empty.
    void theScheduleIsKeptBetweenSessions() {
        window->RGCalc->click(4);
        Calculate();
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(TakeBoxes(), QStringList());
        {
            TFGeneral next;
            QCOMPARE(next.GrSchedule->itemCaption(0), QStringLiteral("Ведомость расчётов (1)"));
        }
        const QString path = schedule::DefaultSchedulePath();
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{\"format\": \"izolcalc-schedule\", \"vers");
        file.close();
        TFGeneral next;
        next.show();
        QTRY_COMPARE(boxes.size(), 1);
        QVERIFY(boxes.front().contains(QStringLiteral(".damaged-")));
        QCOMPARE(next.GrSchedule->itemCaption(0), QStringLiteral("Ведомость расчётов"));
        next.close();
        window->activateWindow();
    }

    // The page works in one file at a time, as a spreadsheet does: saved as, made or
    // opened, each change goes straight into that file; the dialogs are answered by the test.
    // Up and down are for the order by №: sorted otherwise they are off and say why.
    void rowsMoveOnlyInTheOrderByNumber() {
        SchedulePage* page = window->Schedule();
        auto* up = page->findChild<QPushButton*>(QStringLiteral("ScheduleUp"));
        auto* down = page->findChild<QPushButton*>(QStringLiteral("ScheduleDown"));
        QVERIFY(up->isEnabled() && down->isEnabled());
        const QString said = QStringLiteral(
            "Строки переставляются в порядке по №: щёлкните заголовок «№», чтобы вернуться к нему");
        page->table()->sortByColumn(ScheduleModel::Object, Qt::AscendingOrder);
        QVERIFY(!up->isEnabled() && !down->isEnabled());
        QCOMPARE(up->toolTip(), said);
        page->table()->sortByColumn(ScheduleModel::Number, Qt::DescendingOrder);
        QVERIFY(!up->isEnabled());
        page->table()->sortByColumn(ScheduleModel::Number, Qt::AscendingOrder);
        QVERIFY(up->isEnabled() && down->isEnabled());
        QCOMPARE(up->toolTip(), QStringLiteral("Передвинуть строку вверх"));
    }

    void theSchedulePageWorksInTheFileItNames() {
        window->RGCalc->click(4);
        Calculate();
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        SchedulePage* page = window->Schedule();
        const QString title = window->windowTitle();
        auto* name = page->findChild<QLabel*>(QStringLiteral("ScheduleFileName"));
        QCOMPARE(name->text(), QStringLiteral("Ведомость — рабочий файл программы"));
        QTemporaryDir dir;
        QString next;
        page->askPath = [&](const QString&, const QString&, const QString&, bool, QString*) {
            return next;
        };
        const auto rowsIn = [](const QString& path) {
            return schedule::LoadSchedule(path).rows.size();
        };
        const QString own = schedule::DefaultSchedulePath();

        const QString plant = dir.filePath(QStringLiteral("Котельная-2.json"));
        next = plant;
        page->SaveAs();
        QCOMPARE(name->text(), QStringLiteral("Ведомость — Котельная-2.json"));
        QCOMPARE(window->windowTitle(), title.trimmed() + QStringLiteral(" — Котельная-2.json"));
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(rowsIn(plant), std::size_t(2));
        QCOMPARE(rowsIn(own), std::size_t(1));
        QCOMPARE(window->GrSchedule->itemCaption(0), QStringLiteral("Ведомость расчётов (2)"));
        page->Undo();
        QCOMPARE(rowsIn(plant), std::size_t(1));
        page->Redo();
        QCOMPARE(rowsIn(plant), std::size_t(2));

        // A new schedule is a file of its own, with nothing to undo from the other.
        const QString other = dir.filePath(QStringLiteral("other.json"));
        next = other;
        page->New();
        QCOMPARE(page->table()->model()->rowCount(), 0);
        QVERIFY(!page->undoStack()->canUndo());
        QCOMPARE(rowsIn(plant), std::size_t(2));

        // Neither a file that is no schedule nor a name with no file changes anything.
        const QByteArray notes = "{\"name\": \"izolcalc-web-tests\", \"private\": true}\n";
        const QString notesPath = dir.filePath(QStringLiteral("package.json"));
        QFile file(notesPath);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(notes) == notes.size());
        file.close();
        next = plant;
        page->Open();
        QCOMPARE(page->table()->model()->rowCount(), 2);
        OpenFilesInWindow(*window, {notesPath});
        page->OpenFile(dir.filePath(QStringLiteral("typo.json")));
        QCOMPARE(
            TakeBoxes(),
            (QStringList{QStringLiteral("Файл «%1» не является ведомостью этой программы. Файл "
                                        "оставлен без изменений. | Ведомость расчётов")
                             .arg(QDir::toNativeSeparators(notesPath)),
                         QStringLiteral("Не удалось открыть файл «%1». Нет такого файла или "
                                        "каталога. | Ведомость расчётов")
                             .arg(QDir::toNativeSeparators(dir.filePath("typo.json")))}));
        QCOMPARE(page->table()->model()->rowCount(), 2);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), notes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{QStringLiteral("other.json"), QStringLiteral("package.json"),
                              QStringLiteral("Котельная-2.json")}));
        QCOMPARE(files::ReadSettings().recentSchedules, (QStringList{plant, other}));

        next = dir.filePath(QStringLiteral("plant.csv"));
        page->ExportCsv();
        QFile csv(next);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readLine().startsWith("\xEF\xBB\xBF\"№\";\"Обозначение\""));
        csv.close();
        // The code page older programs read, when the dialog's second kind is taken.
        page->askPath = [&](const QString&, const QString& filter, const QString&, bool,
                            QString* chosen) {
            if (chosen) *chosen = filter.split(QStringLiteral(";;")).last();
            return next;
        };
        page->ExportCsv();
        QVERIFY(csv.open(QIODevice::ReadOnly));
        // «№» is 0xB9 in Windows-1251, «О» 0xCE; no byte-order mark.
        QVERIFY(csv.readLine().startsWith("\"\xB9\";\"\xCE"));
        csv.close();
        page->askPath = [&](const QString&, const QString&, const QString&, bool, QString*) {
            return next;
        };

        next = dir.filePath(QStringLiteral("plant.pdf"));
        page->SavePdf();
        const QString text = PdfText(next);
        QVERIFY(text.contains(QStringLiteral("Ведомость толщин тепловой изоляции")));
        QVERIFY(text.contains(QStringLiteral("Лист 1 из 1")));
        QCOMPARE(TakeBoxes(), QStringList());
    }

    // A table brought in: its template, its rows after the others, a line the calculate
    // command refuses kept with its box, unreadable files and lines told in one box.
    void theSchedulePageImportsATable() {
        window->RGCalc->click(4);
        Calculate();
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        SchedulePage* page = window->Schedule();
        QAbstractItemModel* table = page->table()->model();
        const QString first = table->index(0, ScheduleModel::Check).data().toString();
        QTemporaryDir dir;
        QString next;
        page->askPath = [&](const QString&, const QString&, const QString&, bool, QString*) {
            return next;
        };
        const auto write = [&](const char* name, const QByteArray& bytes) {
            next = dir.filePath(QString::fromUtf8(name));
            QFile file(next);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };

        next = dir.filePath(QStringLiteral("Шаблон.csv"));
        page->SaveImportTemplate();
        page->ImportCsv();
        QCOMPARE(TakeBoxes(), QStringList{"Импорт из файла «Шаблон.csv»: 5 строк: 5 рассчитано, "
                                          "0 отклонено. | Ведомость расчётов"});
        QCOMPARE(table->rowCount(), 6);
        QCOMPARE(window->GrSchedule->itemCaption(0), QStringLiteral("Ведомость расчётов (6)"));
        QCOMPARE(table->index(0, ScheduleModel::Check).data().toString(), first);

        write("bad.csv", "Вид расчёта;Обозначение\n9;X\n");
        page->ImportCsv();
        write("empty.csv", "");
        page->ImportCsv();
        QCOMPARE(TakeBoxes(),
                 (QStringList{"Импорт из файла «bad.csv»: 1 строка: 0 рассчитано, 0 отклонено, 1 "
                              "не прочитано.\n\nНе прочитаны и не добавлены:\nСтрока 2: "
                              "неизвестный вид расчёта «9»: укажите номер от 1 до 5 или название "
                              "вида | Ведомость расчётов",
                              "Файл «empty.csv» не импортирован. Файл пуст | Ведомость расчётов"}));
        QCOMPARE(table->rowCount(), 6);

        write("warm.csv", "Вид расчёта;Обозначение;Объект;Покрытие;Материал;Температура воздуха "
                          "(°C);Температура теплоносителя (°C);Относительная влажность воздуха "
                          "(%);Диаметр трубы (мм)\n3;В2-57;Труба;Металл;Цилиндр ЗОРБАЛИТ - "
                          "80;22;30;70;57\n");
        page->ImportCsv();
        TakeBoxes();
        QCOMPARE(table->rowCount(), 7);
        QCOMPARE(table->index(6, ScheduleModel::Accepted).data().toString(), QStringLiteral("—"));
        QCOMPARE(table->index(6, ScheduleModel::Check).data().toString(),
                 QStringLiteral("Конденсация в таких условиях невозможна — не рассчитано"));
        // Shown again, it can be corrected and calculated in the window.
        emit page->rowActivated(6);
        QCOMPARE(window->CalcMethod(), 2);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit12)->value(), 30.0);
        QCOMPARE(window->RzComboBox3->currentText(), QStringLiteral("57"));
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("0"));
        QCOMPARE(TakeBoxes(), QStringList());
        // A calculated row comes back with its thickness and its check, and no box again.
        emit page->rowActivated(0);
        QCOMPARE(window->AcceptedCheckLine->text(),
                 QStringLiteral("Принято %1 мм: %2")
                     .arg(table->index(0, ScheduleModel::Accepted).data().toString(),
                          table->index(0, ScheduleModel::Check).data().toString()));
        QVERIFY(window->RzLabel4->text() != QStringLiteral("0"));
        QCOMPARE(TakeBoxes(), QStringList());
    }

    // Ctrl+Z and «Отменить» undo the schedule's changes one by one, each on the file: a row
    // deleted by mistake comes back where it was, with its tag; a redo makes it again.
    void undoBringsBackWhatWasChanged() {
        window->RGCalc->click(4);
        Calculate();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        window->GrSchedule->click(0);
        SchedulePage* page = window->Schedule();
        QTableView* table = page->table();
        QAbstractItemModel* shown = table->model();
        const auto tags = [&] {
            QStringList all;
            for (int r = 0; r < shown->rowCount(); ++r)
                all << shown->index(r, ScheduleModel::Tag).data().toString();
            return all;
        };
        const auto onFile = [] {
            QStringList all;
            for (const auto& row : schedule::LoadSchedule(schedule::DefaultSchedulePath()).rows)
                all << QString::fromStdString(row.tag);
            return all;
        };
        for (int r = 0; r < 3; ++r)
            QVERIFY(shown->setData(shown->index(r, ScheduleModel::Tag),
                                   QStringLiteral("Т%1").arg(r + 1)));
        QCOMPARE(onFile(), (QStringList{"Т1", "Т2", "Т3"}));

        table->selectRow(1);
        page->DeleteSelected();
        table->clearSelection();
        table->selectRow(0);
        page->MoveSelected(+1);
        QCOMPARE(onFile(), (QStringList{"Т3", "Т1"}));
        SetQuestionHook([](const QString&, const QString&) { return true; });
        page->ClearAll();
        SetQuestionHook({});
        QCOMPARE(onFile(), QStringList());

        auto* undo = page->findChild<QPushButton*>(QStringLiteral("ScheduleUndo"));
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->toolTip(), QStringLiteral("Отменить: очистка ведомости (Ctrl+Z)"));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(tags(), (QStringList{"Т3", "Т1"}));
        QCOMPARE(window->StatusBar->currentMessage(),
                 QStringLiteral("Отменено: очистка ведомости"));
        QTest::mouseClick(undo, Qt::LeftButton);
        QCOMPARE(tags(), (QStringList{"Т1", "Т3"}));
        // Not from a calculation page, where it would take back a row out of sight.
        window->RGCalc->click(0);
        window->GroupBar->setFocus();
        QTest::keyClick(window->GroupBar, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(onFile(), (QStringList{"Т1", "Т3"}));
        window->GrSchedule->click(0);
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(onFile(), (QStringList{"Т1", "Т2", "Т3"}));
        QCOMPARE(window->GrSchedule->itemCaption(0), QStringLiteral("Ведомость расчётов (3)"));

        for (int i = 0; i < 3 + 3; ++i) // the tags, then the rows added
            page->Undo();
        QCOMPARE(onFile(), QStringList());
        QVERIFY(!undo->isEnabled());
        QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(onFile(), QStringList{""});
        QCOMPARE(window->StatusBar->currentMessage(),
                 QStringLiteral("Повторено: добавление расчёта"));
        QCOMPARE(TakeBoxes(), QStringList());
    }

    // Two windows on one schedule: each change goes to the file, not to a window's own list,
    // and each window sees the other's within a second, keeping the chosen row and a tag
    // being typed.
    void twoWindowsShareTheSchedule() {
        TFGeneral other;
        other.show();
        const auto addIn = [&](TFGeneral& w) {
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            w.RGCalc->click(4);
            QTest::mouseClick(w.RzBmpButton1, Qt::LeftButton);
            QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier);
        };
        addIn(*window);
        addIn(other);
        QAbstractItemModel* mine = window->Schedule()->table()->model();
        QAbstractItemModel* theirs = other.Schedule()->table()->model();
        QCOMPARE(theirs->rowCount(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(mine->rowCount(), 2, 5000);

        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->GrSchedule->click(0);
        QTableView* table = window->Schedule()->table();
        table->selectRow(1);
        table->edit(mine->index(1, ScheduleModel::Tag));
        QPointer<QLineEdit> editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("T-2"));

        // Meanwhile another program adds a row (switching windows would end the typing).
        schedule::ScheduleStore elsewhere(schedule::DefaultSchedulePath());
        elsewhere.Refresh(schedule::LockWait);
        QVERIFY(elsewhere.Apply(workflow::AddRows({elsewhere.Current().Rows()[0]})).applied);
        QTRY_COMPARE_WITH_TIMEOUT(mine->rowCount(), 3, 5000);
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("T-2"));
        QCOMPARE(window->Schedule()->SelectedRows(), std::vector<int>{1});
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(theirs->index(1, ScheduleModel::Tag).data().toString(),
                                  QStringLiteral("T-2"), 5000);
        QCOMPARE(schedule::LoadSchedule(schedule::DefaultSchedulePath()).rows.size(), 3u);
        QCOMPARE(TakeBoxes(), QStringList());
        other.close();
    }

    void wholeNumberFieldsRoundATypedFraction() {
        window->RGCalc->click(1);
        QSignalSpy rounded(window->Field(workflow::Control::RzNumericEdit6), &NumericEdit::rounded);
        Type(window->Field(workflow::Control::RzNumericEdit6), "12,5");
        Type(window->Field(workflow::Control::RzNumericEdit7), "1.4");
        QCOMPARE(rounded.size(), 1);
        QCOMPARE(rounded.front().front().toString(), QStringLiteral("округлено: 13"));
        // Shown under the field after the focus went on, where a tooltip would have closed.
        auto* note = window->findChild<QLabel*>(QStringLiteral("RoundingNote"));
        QVERIFY(note && note->isVisible());
        QCOMPARE(note->text(), QStringLiteral("округлено: 13"));
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit6)->text(), QStringLiteral("13"));
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit6)->value(), 13);
        window->Field(workflow::Control::RzNumericEdit8)->setFocus(Qt::TabFocusReason);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit7)->value(), 1);
    }

    void theWallMustLeaveABore() {
        window->RGCalc->click(4);
        window->RzComboBox3->setCurrentIndex(0); // 18 mm
        Type(window->Field(workflow::Control::RzNumericEdit26), "9");
        Calculate();
        QCOMPARE(TakeBoxes(), QStringList{"Толщина стенки трубы должна быть меньше половины её "
                                          "наружного диаметра | Ошибка ввода данных"});
        QCOMPARE(QApplication::focusWidget(), window->Field(workflow::Control::RzNumericEdit26));
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("0"));
    }

    // However long, the result stands whole on the dotted run of its caption: it covers
    // neither the caption's words nor the unit, on one baseline with them.
    void aLongResultCoversNeitherTheCaptionNorTheUnit_data() {
        QTest::addColumn<QString>("water");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("result");
        QTest::newRow("short") << "1"
                               << "24"
                               << "120,0";
        QTest::newRow("millions") << "10"
                                  << "300"
                                  << "1,5828E+06";
        QTest::newRow("billions") << "10"
                                  << "500"
                                  << "1,5161E+09";
        QTest::newRow("beyond the rounding") << "1"
                                             << "1000"
                                             << "более 2·10⁹";
    }

    void aLongResultCoversNeitherTheCaptionNorTheUnit() {
        QFETCH(QString, water);
        QFETCH(QString, hours);
        QFETCH(QString, result);
        QLabel* caption = window->RzLabel6;
        const QString text = caption->text();
        const QFontMetrics metrics = caption->fontMetrics();
        const auto run = [&](int from, int to) { // the caption's text [from, to) on the panel
            return QRect(caption->x() + metrics.horizontalAdvance(text.left(from)), caption->y(),
                         metrics.horizontalAdvance(text.mid(from, to - from)), caption->height());
        };
        const QRect words = run(0, int(text.indexOf(u'.')));
        const QRect unit = run(int(text.lastIndexOf(u'.')) + 1, int(text.size()));

        window->RGCalc->click(4); // air -40 °C, wall 5 mm, 108 mm, without a channel
        Type(window->Field(workflow::Control::RzNumericEdit27), water);
        Type(window->Field(workflow::Control::RzNumericEdit28), hours);
        Calculate();
        TakeBoxes();
        QLabel* shown = window->RzLabel4;
        QCOMPARE(shown->text(), result);
        QVERIFY2(!shown->geometry().intersects(words), qPrintable(result));
        QVERIFY2(!shown->geometry().intersects(unit), qPrintable(result));
        QCOMPARE(shown->width(), shown->sizeHint().width());
        QCOMPARE(shown->y() + shown->fontMetrics().ascent(), caption->y() + metrics.ascent());
        if (result == "120,0") QCOMPARE(shown->x(), 308); // a short result at its own place
    }

    // The window grows and is maximised: the calculation pages keep their place at the top
    // left, the group bar, the schedule and the reference page take the room.
    void theWindowGrowsAndItsPagesTakeTheRoom() {
        QCOMPARE(window->size(), QSize(834, 561));
        QCOMPARE(window->minimumSize(), QSize(834, 400)); // shorter, the pages scroll
        QVERIFY(window->maximumWidth() > 4000 && window->maximumHeight() > 4000);
        QVERIFY(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

        QWidget* anchored[] = {window->Field(workflow::Control::RzNumericEdit1),
                               window->RzBmpButton1, window->RzLabel4, window->RzComboBox1,
                               window->RzBmpButton2};
        QList<QPoint> places;
        for (QWidget* w : anchored)
            places << w->mapTo(window.get(), QPoint());
        const QString header = window->StaticText->text();
        const QRect headerPlace = window->StaticText->geometry();

        window->resize(1600, 1000);
        QTRY_COMPARE(window->size(), QSize(1600, 1000));
        for (std::size_t i = 0; i < std::size(anchored); ++i)
            QCOMPARE(anchored[i]->mapTo(window.get(), QPoint()), places[qsizetype(i)]);
        QCOMPARE(window->StaticText->geometry(), headerPlace); // centred on the page
        QCOMPARE(window->StaticText->text(), header);
        const QRect pages(window->Notebook1->mapTo(window.get(), QPoint()),
                          window->Notebook1->size());
        QCOMPARE(pages.right(), window->width() - 1);
        QCOMPARE(pages.bottom() + 1, window->StatusBar->y());
        QCOMPARE(window->GroupBar->mapTo(window.get(), QPoint()).y() + window->GroupBar->height(),
                 window->StatusBar->y());

        window->GrSchedule->click(0);
        QTableView* table = window->Schedule()->table();
        QCOMPARE(table->width(), pages.width() - 16);
        QVERIFY(table->height() > 800);
        QCOMPARE(window->StaticText->width(), pages.width()); // centred on the pane
    }

    // The schedule shows every column whole in a window grown wide: headings and cells as
    // wide as they need, the check taking the rest.
    void theScheduleColumnsSizeToTheirContent() {
        window->RGCalc->click(1);
        Type(window->Field(workflow::Control::RzNumericEdit6), "20");
        Type(window->Field(workflow::Control::RzNumericEdit7), "200");
        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        Calculate();
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(TakeBoxes(), QStringList());
        window->resize(1900, 1000);
        window->GrSchedule->click(0);
        QTableView* table = window->Schedule()->table();
        const QAbstractItemView* view = table; // whose size hints are public
        QHeaderView* header = table->horizontalHeader();
        QTRY_COMPARE(header->length(), table->viewport()->width());
        const QFontMetrics metrics = header->fontMetrics();
        for (int column = 0; column < ScheduleModel::Columns; ++column) {
            const QString heading = table->model()->headerData(column, Qt::Horizontal).toString();
            const int width = header->sectionSize(column);
            QVERIFY2(width > metrics.horizontalAdvance(heading), qPrintable(heading));
            if (column != ScheduleModel::Inputs)
                QVERIFY2(width >= view->sizeHintForColumn(column), qPrintable(heading));
        }
        QVERIFY(header->sectionSize(ScheduleModel::Check) >
                view->sizeHintForColumn(ScheduleModel::Check));
    }

    // The window opens where and as large as it was closed; a test never touches the
    // user's own settings.
    void theWindowOpensAsItWasClosed() {
        QVERIFY(TFGeneral::WindowSettingsPath().startsWith(
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
        QVERIFY(QStandardPaths::isTestModeEnabled());
        window->setGeometry(QRect(40, 50, 1000, 700));
        QTRY_COMPARE(window->size(), QSize(1000, 700));
        const QRect closedAt = window->geometry();
        window->close();
        QVERIFY(QFile::exists(TFGeneral::WindowSettingsPath()));
        OpenWindow();
        QCOMPARE(window->geometry(), closedAt);
    }

    // Every figure shown at one time has one separator, the locale's; a comma or a point
    // typed is the decimal separator under either locale.
    void oneSeparatorUnderEitherLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("ru_RU") << QLocale(QLocale::Russian, QLocale::Russia);
        QTest::newRow("C") << QLocale::c();
    }

    void oneSeparatorUnderEitherLocale() {
        QFETCH(QLocale, locale);
        const QString own = locale.decimalPoint();
        QLocale::setDefault(locale);
        OpenWindow();
        const auto restore =
            qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); });

        window->RGCalc->click(3);
        Type(window->Field(workflow::Control::RzNumericEdit21), "0,3");
        Type(window->Field(workflow::Control::RzNumericEdit22), "0.4");
        window->Field(workflow::Control::RzNumericEdit18)->setFocus(Qt::TabFocusReason);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit21)->value(), 0.3);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit22)->value(), 0.4);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit21)->text(), "0" + own + "3");

        window->RGCalc->click(1);
        Type(window->Field(workflow::Control::RzNumericEdit6), "20");
        Type(window->Field(workflow::Control::RzNumericEdit7), "200");
        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        Calculate();
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(TakeBoxes(), QStringList());
        const QString check =
            window->Schedule()->table()->model()->index(0, ScheduleModel::Check).data().toString();
        const QRegularExpression figure(QStringLiteral("\\d([.,])\\d"));
        for (const QString& shown :
             {window->RzLabel4->text(), window->AcceptedCheckLine->text(), check}) {
            QStringList separators;
            for (const auto& match : figure.globalMatch(shown))
                separators << match.captured(1);
            QVERIFY2(!separators.isEmpty() && separators.count(own) == separators.size(),
                     qPrintable(shown));
        }
    }

    void theReportKeepsEveryWordAndTheInputsThatMatter() {
        Type(window->Field(workflow::Control::RzNumericEdit2), "150");
        const QString norm = Report();
        QCOMPARE(Line(norm, "Расположение"), QStringLiteral("Расположение Открытый воздух"));
        QVERIFY(norm.contains(QRegularExpression("Открытый\\s+воздух")) || norm.contains("воздух"));
        QCOMPARE(Line(norm, "Норма тепловых"), QStringLiteral("Норма тепловых потерь, Вт/м —"));
        QCOMPARE(Line(norm, "Число часов"),
                 QStringLiteral("Число часов работы в год Не более 5000 в год"));

        window->RGCalc->click(4);
        qobject_cast<ValueComboBox*>(window->Widget(workflow::Control::RzComboBox2))
            ->setCurrentIndex(3);
        const QString freezing = Report();
        QVERIFY(freezing.contains("неметаллических"));
        QVERIFY(Line(freezing, "Способ установки").startsWith("Способ установки трубопровода Для"));
    }

    void everyMessageBoxIsWideEnoughForItsCaption() {
        // The boxes are shown, not run, so that their size can be read; they are modal all
        // the same, and the watchdog must leave them be.
        expectModal = true;
        for (const QString& caption :
             {QStringLiteral("Ошибка ввода данных"), QStringLiteral("Предупреждение"),
              QStringLiteral("Скорректируйте входные данные"), QApplication::applicationName()}) {
            const auto box = MakeMessageBox(window.get(), QStringLiteral("Да"), caption);
            box->show();
            QVERIFY(QTest::qWaitForWindowExposed(box.get()));
            QFont bold = box->font();
            bold.setBold(true);
            QVERIFY(WidthForCaption(caption) > QFontMetrics(bold).horizontalAdvance(caption) * 1.2);
            QVERIFY2(box->width() >= WidthForCaption(caption), qPrintable(caption));
            box->close();
        }
        expectModal = false;
    }

    void enterCalculatesAndTheKeyboardReachesEverything() {
        // The window opens with the focus in the first field of its page.
        QCOMPARE(QApplication::focusWidget(), window->Field(workflow::Control::RzNumericEdit1));

        // Enter in a field leaves it with its rules, then calculates.
        window->RGCalc->click(2);
        Type(window->Field(workflow::Control::RzNumericEdit11), "60");
        QTest::keyClick(window->Field(workflow::Control::RzNumericEdit11), Qt::Key_Return);
        QCOMPARE(TakeBoxes().value(0),
                 "Диапазон температур предусмотрен от -40 до +50 °С | Ошибка ввода данных");
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit11)->value(), 50);
        QCOMPARE(window->Field(workflow::Control::RzNumericEdit13)->value(), 50); // the command ran
        window->RGCalc->click(1);
        Type(window->Field(workflow::Control::RzNumericEdit6), "20");
        Type(window->Field(workflow::Control::RzNumericEdit7), "150");
        Type(window->Field(workflow::Control::RzNumericEdit8), "45");
        QTest::keyClick(window->Field(workflow::Control::RzNumericEdit8), Qt::Key_Enter);
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("30,0"));

        // Enter on a focused button presses it.
        window->RGCalc->click(1);
        window->RzBmpButton1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(window->RzBmpButton1, Qt::Key_Return);
        QCOMPARE(window->RzLabel4->text(), QStringLiteral("30,0"));

        // The tab chain: read-only and disabled fields are passed by, the group bar is in it.
        QStringList chain;
        window->Field(workflow::Control::RzNumericEdit6)->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 40 && !chain.contains("GroupBar"); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            chain << QApplication::focusWidget()->objectName();
        }
        QVERIFY2(chain.contains("GroupBar"), qPrintable(chain.join(' ')));
        QVERIFY(!chain.contains("RzNumericEdit3") && !chain.contains("RzNumericEdit24"));
        QVERIFY(chain.contains("RzNumericEdit8"));
        QTest::keyClick(window->GroupBar, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window->Field(workflow::Control::RzNumericEdit6));

        // The kinds from the keyboard: the bar starts on the chosen kind.
        window->GroupBar->setFocus(Qt::TabFocusReason);
        QTest::keyClick(window->GroupBar, Qt::Key_Down);
        QTest::keyClick(window->GroupBar, Qt::Key_Down);
        QTest::keyClick(window->GroupBar, Qt::Key_Return);
        QCOMPARE(window->CalcMethod(), 3);
        QTest::keyClick(window->GroupBar, Qt::Key_Up);
        QTest::keyClick(window->GroupBar, Qt::Key_Space);
        QCOMPARE(window->CalcMethod(), 2);
    }

    void closeButtonEndsTheWindowOnce() {
        QTest::mouseClick(window->RzBmpButton2, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QVERIFY(!window->Engine());
    }
};

QTEST_MAIN(GeneralFormTest)
#include "GeneralFormTest.moc"
