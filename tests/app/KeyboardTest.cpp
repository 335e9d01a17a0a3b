// The window from the keyboard alone: where the focus starts, the order Tab takes, the Alt
// letters of every window, and the schedule's keys. Message boxes go to a hook.
#include "AnalysisPanel.h"
#include "GroupBar.h"
#include "GroupBarGroup.h"
#include "MessageBoxes.h"
#include "NumericEdit.h"
#include "PictureButton.h"
#include "RadioGroup.h"
#include "ReportPreview.h"
#include "ScheduleFile.h"
#include "ScheduleModel.h"
#include "SchedulePage.h"
#include "ValueComboBox.h"
#include "uGneneralForms.h"
#include "uTitleForm.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using workflow::Control;

QString Name(const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

// The faults of a window's Alt letters as it stands: a visible button or option group without
// one, and a letter that two of them share. A group takes its letter from its caption.
QStringList MnemonicFaults(const QWidget* top) {
    QMap<QString, QStringList> owners;
    QStringList faults;
    const auto visible = [top](const QWidget* w) {
        return w->window() == top && w->isVisibleTo(top);
    };
    const auto own = [&](const QWidget* w, const QString& text) {
        const QKeySequence letter = QKeySequence::mnemonic(text);
        if (letter.isEmpty())
            faults << Name(w) + " «" + text + "» has no Alt letter";
        else
            owners[letter.toString()] << Name(w);
    };
    // A toolbar's commands, also those that a narrow window puts behind its extension.
    for (const QToolBar* bar : top->findChildren<QToolBar*>())
        if (visible(bar))
            for (const QAction* action : bar->actions())
                if (!action->isSeparator()) own(bar, action->iconText());
    for (const QWidget* w : top->findChildren<QWidget*>()) {
        if (!visible(w) || qobject_cast<const QToolBar*>(w->parentWidget())) continue;
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            // The table's corner is drawn, not named.
            if (!button->text().isEmpty() || !button->icon().isNull()) own(w, button->text());
        } else if (const auto* label = qobject_cast<const QLabel*>(w); label && label->buddy()) {
            own(w, label->text());
        } else if (qobject_cast<const RadioGroup*>(w)) {
            bool captioned = false;
            for (const QLabel* label : top->findChildren<QLabel*>())
                captioned = captioned || (label->buddy() == w && visible(label));
            if (!captioned) faults << Name(w) + " has no caption that takes the focus to it";
        }
    }
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        if (it->size() > 1) faults << it.key() + " is shared by " + it->join(", ");
    return faults;
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TFGeneral> window;
    QStringList boxes;

    QWidget* Focused() const { return QApplication::focusWidget(); }

    // Alt and a letter as the Russian keyboard sends them (QTest's own key functions take
    // Latin letters only).
    static void Alt(QWidget* w, char16_t letter) {
        const QChar upper = QChar(letter).toUpper();
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key(upper.unicode()), QString(upper.toLower()),
                            Qt::AltModifier);
    }

    void Type(NumericEdit* edit, const QString& text) {
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // Calculates the kind from inputs that give a result, and adds it to the schedule.
    void CalculateAndAdd(int kind) {
        window->RGCalc->click(kind);
        if (kind == 1) {
            Type(window->Field(Control::RzNumericEdit6), "20");
            Type(window->Field(Control::RzNumericEdit7), "150");
            Type(window->Field(Control::RzNumericEdit8), "45");
        }
        QTest::mouseClick(window->RzBmpButton1, Qt::LeftButton);
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('\n')));
    }

    // Runs `withDialog` on the modal dialog that `open` brings up, then closes it if still
    // open; false when none came up.
    bool WithModal(const std::function<void()>& open,
                   const std::function<void(QDialog&)>& withDialog) {
        bool seen = false;
        QObject scope;
        QTimer::singleShot(50, &scope, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen = true;
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            withDialog(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        open();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get()) && seen;
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
        boxes.clear();
        window = std::make_unique<TFGeneral>();
        FGeneral = window.get();
        window->show();
        QTRY_VERIFY(FTitle);
        FTitle->Image1Click();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() { window.reset(); }

    // At start, and on each page the user brings up, the focus is in its first field; a kind
    // chosen from the keyboard in the group bar leaves it there for the next choice.
    void theFocusStartsInTheFirstFieldOfThePageShown() {
        QCOMPARE(Focused(), window->Field(Control::RzNumericEdit1));
        window->RGCalc->click(3);
        QCOMPARE(Focused(), window->Field(Control::RzNumericEdit16));
        window->GrSchedule->click(0);
        QCOMPARE(Focused(), window->Schedule()->table());
        window->RGCalc->click(4);
        QCOMPARE(Focused(), window->Field(Control::RzNumericEdit25));

        window->GroupBar->setFocus(Qt::TabFocusReason);
        QTest::keyClick(window->GroupBar, Qt::Key_Up);
        QTest::keyClick(window->GroupBar, Qt::Key_Return);
        QCOMPARE(window->CalcMethod(), 3);
        QCOMPARE(Focused(), window->GroupBar);
    }

    // Tab takes each page's rows from the top and each row from the left, then the common
    // panel so, then the buttons and the group bar, and comes round to the page's first
    // field; Shift+Tab goes back the same way.
    void tabFollowsThePageThenThePanelThenTheButtons_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("page");
        QTest::newRow("norm") << 0
                              << QStringList{"RzNumericEdit1", "RzNumericEdit2", "RzComboBox5"};
        QTest::newRow("surface") << 1
                                 << QStringList{"RzNumericEdit6", "RzNumericEdit7",
                                                "RzNumericEdit8"};
        QTest::newRow("condensation")
            << 2 << QStringList{"RzNumericEdit11", "RzNumericEdit12", "RzNumericEdit13"};
        QTest::newRow("channel") << 3 << QStringList{"RzNumericEdit16", "RzNumericEdit17",
                                                     "RzNumericEdit18", "RzNumericEdit21",
                                                     "RzNumericEdit22", "RzComboBox4"};
        QTest::newRow("freezing") << 4
                                  << QStringList{"RzNumericEdit25", "RzNumericEdit26",
                                                 "RzNumericEdit27", "RzNumericEdit28",
                                                 "RzComboBox2"};
    }

    void tabFollowsThePageThenThePanelThenTheButtons() {
        QFETCH(int, kind);
        QFETCH(QStringList, page);
        window->Schedule(); // its page, made on first use, joins the chain out of sight
        window->RGCalc->click(kind);
        QStringList expected = page;
        // The panel's controls that this kind shows, left to right, then the two lists.
        for (QWidget* w : {static_cast<QWidget*>(window->RzRadioGroup1),
                           static_cast<QWidget*>(window->RzRadioGroup2),
                           static_cast<QWidget*>(window->RzRadioGroup3),
                           static_cast<QWidget*>(window->RzRadioGroup4),
                           static_cast<QWidget*>(window->RzComboBox3),
                           static_cast<QWidget*>(window->RzComboBox1)})
            if (w->isVisible()) expected << w->objectName();
        expected << "RzBmpButton1"
                 << "BtnAnalysis"
                 << "RzBmpButton3"
                 << "RzBmpButton2"
                 << "GroupBar" << page.front();

        QCOMPARE(Name(Focused()), page.front());
        QStringList chain{page.front()};
        while (chain.size() < expected.size()) {
            QTest::keyClick(Focused(), Qt::Key_Tab);
            chain << Name(Focused());
        }
        QCOMPARE(chain, expected);
        QStringList back{page.front()};
        while (back.size() < expected.size()) {
            QTest::keyClick(Focused(), Qt::Key_Backtab);
            back.prepend(Name(Focused()));
        }
        QCOMPARE(back, expected);
    }

    // In a window at its least height the page and the group bar scroll: Tab and the arrow
    // keys bring each stop they reach into view.
    void inAShortWindowTheKeysScrollToWhatTheyReach() {
        window->resize(window->minimumSize());
        QTRY_COMPARE(window->height(), window->minimumHeight());
        auto* page = qobject_cast<QScrollArea*>(window->Calc);
        auto* bar = qobject_cast<QScrollArea*>(window->GroupBar->parentWidget()->parentWidget());
        QVERIFY(page && bar);
        QVERIFY(page->verticalScrollBar()->maximum() > 0 &&
                bar->verticalScrollBar()->maximum() > 0);
        const auto inView = [](const QScrollArea* area, const QWidget* w, QRect rect) {
            return area->viewport()->rect().contains(
                QRect(w->mapTo(area->viewport(), rect.topLeft()), rect.size()));
        };
        window->RGCalc->click(0);
        QStringList hidden;
        for (int i = 0; i < 20 && Focused() != window->GroupBar; ++i) {
            if (!inView(page, Focused(), Focused()->rect())) hidden << Name(Focused());
            QTest::keyClick(Focused(), Qt::Key_Tab);
        }
        QCOMPARE(hidden, QStringList());
        QCOMPARE(Focused(), window->GroupBar);
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(window->GroupBar, Qt::Key_Down);
            const QRect item = window->GroupBar->itemRect(window->GroupBar->currentGroup(),
                                                          window->GroupBar->currentItem());
            QVERIFY2(inView(bar, window->GroupBar, item), qPrintable(QString::number(i)));
        }
        QCOMPARE(window->GroupBar->currentGroup(), 2); // the schedule's, at the foot
    }

    // Every button and option group of each window has an Alt letter of its own: the main
    // window on each kind's page and on the schedule's, the analysis, the preview.
    void everyButtonAndGroupHasItsOwnAltLetter() {
        QStringList faults;
        for (int kind = 0; kind < 5; ++kind) {
            window->RGCalc->click(kind);
            for (const QString& fault : MnemonicFaults(window.get()))
                faults << QStringLiteral("kind %1: ").arg(kind) + fault;
        }
        CalculateAndAdd(4);
        window->GrSchedule->click(0);
        for (const QString& fault : MnemonicFaults(window.get()))
            faults << "schedule: " + fault;
        CalculateAndAdd(4); // choosing the kind again set its result aside
        QVERIFY(WithModal([&] { QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier); },
                          [&](QDialog& panel) {
                              for (const QString& fault : MnemonicFaults(&panel))
                                  faults << "analysis: " + fault;
                          }));
        QVERIFY(WithModal([&] { QTest::mouseClick(window->RzBmpButton3, Qt::LeftButton); },
                          [&](QDialog& preview) {
                              for (const QString& fault : MnemonicFaults(&preview))
                                  faults << "preview: " + fault;
                          }));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // The letters do what their buttons and captions do, also on the picture buttons, which
    // underline the letter their faces draw.
    void altLettersPressTheirButtons() {
        Alt(window.get(), u'б');
        QCOMPARE(Focused(), window->RzRadioGroup1);
        Alt(window.get(), u'м');
        QCOMPARE(Focused(), window->RzComboBox1);
        window->RGCalc->click(4);
        Alt(window.get(), u'р');
        QTRY_VERIFY(window->RzLabel4->text() != QStringLiteral("0"));

        // The underline, in the caption's colour, under the first letter only.
        const QImage face = window->RzBmpButton3->grab().toImage();
        const auto reddish = [&](int x, int y) {
            const QColor c = face.pixelColor(x, y);
            return c.red() > 180 && c.green() < 90 && c.blue() < 90;
        };
        int under = 0, beyond = 0;
        for (int x = 36; x < 44; ++x)
            under += reddish(x, 18) ? 1 : 0;
        for (int x = 46; x < 80; ++x)
            beyond += reddish(x, 18) ? 1 : 0;
        QVERIFY2(under >= 7 && beyond == 0,
                 qPrintable(QStringLiteral("%1 %2").arg(under).arg(beyond)));

        // The preview's toolbar too.
        QVERIFY(WithModal([&] { QTest::mouseClick(window->RzBmpButton3, Qt::LeftButton); },
                          [&](QDialog& dialog) {
                              auto& preview = static_cast<reportengine::ReportPreview&>(dialog);
                              const qreal zoom = preview.view()->zoomFactor();
                              Alt(&preview, u'у');
                              QTRY_VERIFY(preview.view()->zoomFactor() > zoom);
                          }));
    }

    // On the schedule Enter opens the current row as a double click does, also from the
    // tag's column, while Enter in the tag's editor only ends the typing; Del deletes.
    void enterOpensAScheduleRowAndDelDeletesIt() {
        CalculateAndAdd(1);
        CalculateAndAdd(4);
        window->GrSchedule->click(0);
        QTableView* table = window->Schedule()->table();
        QCOMPARE(Focused(), table);
        QAbstractItemModel* rows = table->model();
        table->setCurrentIndex(rows->index(0, ScheduleModel::Tag));
        table->edit(table->currentIndex());
        auto* editor = qobject_cast<QLineEdit*>(Focused());
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("T-1"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(rows->index(0, ScheduleModel::Tag).data().toString(), QStringLiteral("T-1"));
        QCOMPARE(window->Notebook1->currentWidget(), window->Schedule());

        table->setFocus();
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(window->Notebook1->currentWidget(), window->Calc);
        QCOMPARE(window->CalcMethod(), 1);
        QCOMPARE(window->Field(Control::RzNumericEdit7)->value(), 150);
        QCOMPARE(Focused(), window->Field(Control::RzNumericEdit6));

        window->GrSchedule->click(0);
        table->selectRow(1);
        QTest::keyClick(table, Qt::Key_Enter);
        QCOMPARE(window->CalcMethod(), 4);

        window->GrSchedule->click(0);
        table->selectRow(0);
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(rows->rowCount(), 1);
        QCOMPARE(schedule::LoadSchedule(schedule::DefaultSchedulePath()).rows.size(), 1u);
        QCOMPARE(boxes, QStringList());
    }

    // Ctrl+Z undoes the schedule's change only while the focus is on its page: on a
    // calculation page it neither takes back a row out of sight nor speaks in the strip.
    void ctrlZUndoesTheScheduleOnlyOnItsPage() {
        CalculateAndAdd(4);
        window->GrSchedule->click(0);
        QTableView* table = window->Schedule()->table();
        table->selectRow(0);
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(table->model()->rowCount(), 0);

        window->RGCalc->click(4);
        window->StatusBar->clearMessage();
        for (QWidget* focus : {static_cast<QWidget*>(window->GroupBar),
                               static_cast<QWidget*>(window->RzBmpButton1)}) {
            focus->setFocus(Qt::TabFocusReason);
            QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
        }
        QCOMPARE(table->model()->rowCount(), 0);
        QCOMPARE(window->StatusBar->currentMessage(), QString());

        window->GrSchedule->click(0);
        QTest::keyClick(Focused(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(table->model()->rowCount(), 1);
        QCOMPARE(window->StatusBar->currentMessage(), QStringLiteral("Отменено: удаление строки"));
        // Anywhere on the page, a button as well as the table.
        table->selectRow(0);
        Alt(window.get(), u'у');
        QTRY_COMPARE(table->model()->rowCount(), 0);
        QTest::keyClick(Focused(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(table->model()->rowCount(), 1);
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
