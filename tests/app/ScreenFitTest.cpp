// Every window and dialog on the screens the users have: 1366×768 at 100 %, 1920×1080 at
// 150 %, 2560×1440 at 200 %. ctest runs the program once per screen, named by
// IZOL_TEST_SCREEN (pixels) and QT_SCALE_FACTOR; main() hands that screen to the offscreen
// platform through its configuration file. Each window must fit the screen's room with the
// desktop's title bar and taskbar, also at the least size it can be given, and no widget in it
// may be cut by its parent or squeezed below the size that shows its text.
#include "AnalysisPanel.h"
#include "Application.h"
#include "GroupBarGroup.h"
#include "MessageBoxes.h"
#include "NumericEdit.h"
#include "PictureButton.h"
#include "RadioGroup.h"
#include "ReportPreview.h"
#include "ScheduleFile.h"
#include "uGneneralForms.h"
#include "uTitleForm.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// What a desktop takes beyond the offscreen platform, whose available geometry is the whole
// screen and whose frame has no title bar: a taskbar at the foot and a title bar over each
// window (Windows' at 100 % are 40 and 31 pixels, GNOME's title bar is taller), in the
// device-independent pixels that the scale factor multiplies.
constexpr int Taskbar = 48;
constexpr int TitleBar = 36;

QString Name(const QWidget* w) {
    QString name = QString::fromLatin1(w->metaObject()->className());
    if (!w->objectName().isEmpty()) name += u' ' + w->objectName();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w);
        button && !button->text().isEmpty())
        name += QStringLiteral(" «%1»").arg(button->text());
    if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->text().isEmpty())
        name += QStringLiteral(" «%1»").arg(label->text().left(40));
    return name;
}

QString Text(const QRect& r) {
    return QStringLiteral("%1,%2 %3×%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The least size a layout may give the widget, as Qt's layouts reckon it.
QSize LeastSize(const QWidget* w) {
    const QSize hint = w->sizeHint(), least = w->minimumSizeHint();
    const QSizePolicy policy = w->sizePolicy();
    const auto one = [](QSizePolicy::Policy p, int hinted, int smallest, int set) {
        if (set > 0) return set;
        if (p == QSizePolicy::Ignored) return 0;
        return p & QSizePolicy::ShrinkFlag ? std::max(smallest, 0) : std::max(hinted, smallest);
    };
    return {one(policy.horizontalPolicy(), hint.width(), least.width(), w->minimumWidth()),
            one(policy.verticalPolicy(), hint.height(), least.height(), w->minimumHeight())};
}

bool ShowsText(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return !label->text().isEmpty() && !label->hasScaledContents();
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const RadioGroup*>(w);
}

// The visible widgets of `top` that lie partly outside their parent, or are squeezed below
// what shows their text; what a scroll area holds may run past its view, as long as the
// scroll bar that reaches it may show.
QStringList Clipped(const QWidget* top) {
    QStringList found;
    for (const QWidget* w : top->findChildren<QWidget*>()) {
        if (w->window() != top || !w->isVisibleTo(top)) continue;
        const QWidget* parent = w->parentWidget();
        const auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget());
        if (area && area->viewport() == parent) {
            const QSize view = parent->size();
            if ((w->width() > view.width() &&
                 area->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) ||
                (w->height() > view.height() &&
                 area->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff))
                found << Name(w) + " runs past a scroll area that cannot scroll to it";
        } else if (!parent->rect().contains(w->geometry())) {
            found << QStringLiteral("%1 at %2 is cut by %3 (%4)")
                         .arg(Name(w), Text(w->geometry()), Name(parent), Text(parent->rect()));
        }
        if (!ShowsText(w)) continue;
        const auto* label = qobject_cast<const QLabel*>(w);
        if (label && label->wordWrap()) {
            if (label->height() < label->heightForWidth(label->width()))
                found << QStringLiteral("%1 is %2 high, its text needs %3")
                             .arg(Name(w))
                             .arg(label->height())
                             .arg(label->heightForWidth(label->width()));
            continue;
        }
        const QSize least =
            qobject_cast<const RadioGroup*>(w) ? w->sizeHint().boundedTo({9999, 0}) : LeastSize(w);
        if (w->width() < least.width() || w->height() < least.height())
            found << QStringLiteral("%1 is %2×%3, it needs %4×%5")
                         .arg(Name(w))
                         .arg(w->width())
                         .arg(w->height())
                         .arg(least.width())
                         .arg(least.height());
    }
    // A toolbar too narrow for its buttons hides some behind its extension.
    for (const QToolBar* bar : top->findChildren<QToolBar*>())
        for (const QToolButton* more : bar->findChildren<QToolButton*>(
                 QStringLiteral("qt_toolbar_ext_button"), Qt::FindDirectChildrenOnly))
            if (bar->window() == top && more->isVisibleTo(top))
                found << Name(bar) + " hides some of its buttons";
    return found;
}

} // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT
public:
    explicit ScreenFitTest(QSize pixels, qreal scale)
        : pixels_(pixels)
        , scale_(scale) {}

private:
    QSize pixels_;
    qreal scale_;
    std::unique_ptr<TFGeneral> window;
    QStringList boxes;

    QScreen* Screen() const { return QGuiApplication::primaryScreen(); }

    // The room a window may take: the screen's available geometry without the taskbar.
    QRect Desk() const { return Screen()->availableGeometry().adjusted(0, 0, 0, -Taskbar); }

    // Whether the window, with the desktop's title bar over it, stands on the screen, is no
    // larger than the room and can be made to fit it at the least size it takes.
    QStringList Unfitting(const QWidget* w) const {
        QStringList found;
        const QRect desk = Desk();
        const QMargins frame = w->windowHandle() ? w->windowHandle()->frameMargins() : QMargins();
        const QMargins decoration = frame + QMargins(0, TitleBar, 0, 0);
        const bool maximized = w->isMaximized();
        const QRect outer = maximized ? w->frameGeometry() : w->geometry() + decoration;
        if (!Screen()->availableGeometry().contains(outer))
            found << QStringLiteral("%1 stands at %2, beyond the screen's available %3")
                         .arg(Name(w), Text(outer), Text(Screen()->availableGeometry()));
        if (!maximized && (outer.width() > desk.width() || outer.height() > desk.height()))
            found << QStringLiteral("%1 is %2×%3 with its frame, the room is %4×%5")
                         .arg(Name(w))
                         .arg(outer.width())
                         .arg(outer.height())
                         .arg(desk.width())
                         .arg(desk.height());
        const QSize least =
            w->minimumSize().expandedTo(w->layout() ? w->layout()->totalMinimumSize() : QSize()) +
            QSize(decoration.left() + decoration.right(), decoration.top() + decoration.bottom());
        if (least.width() > desk.width() || least.height() > desk.height())
            found << QStringLiteral("%1 cannot be made smaller than %2×%3 with its frame, the "
                                    "room is %4×%5")
                         .arg(Name(w))
                         .arg(least.width())
                         .arg(least.height())
                         .arg(desk.width())
                         .arg(desk.height());
        return found;
    }

    // Both faults of a window as it stands, and again at the least size it can be given.
    QStringList Faults(QWidget* w) {
        QStringList found = Unfitting(w) + Clipped(w);
        if (w->isMaximized()) return found;
        const QSize shown = w->size();
        w->resize(w->minimumSize());
        QCoreApplication::processEvents();
        for (const QString& fault : Clipped(w))
            found << QStringLiteral("at its least size %1×%2: ").arg(w->width()).arg(w->height()) +
                         fault;
        w->resize(shown);
        QCoreApplication::processEvents();
        return found;
    }

    void CloseSplash() {
        FTitle->Image1Click();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // Chooses the kind and calculates it from inputs that give a result.
    void Calculate(int kind) {
        window->RGCalc->click(kind);
        const std::pair<workflow::Control, const char*> inputs[] = {
            {workflow::Control::RzNumericEdit2, "150"}, {workflow::Control::RzNumericEdit6, "20"},
            {workflow::Control::RzNumericEdit7, "150"}, {workflow::Control::RzNumericEdit8, "45"},
            {workflow::Control::RzNumericEdit11, "20"}, {workflow::Control::RzNumericEdit12, "5"},
            {workflow::Control::RzNumericEdit13, "60"}};
        for (const auto& [field, text] : inputs)
            if (NumericEdit* edit = window->Field(field); edit && edit->isVisible()) {
                edit->setFocus(Qt::MouseFocusReason);
                edit->selectAll();
                QTest::keyClicks(edit, QString::fromLatin1(text));
            }
        QTest::mouseClick(window->RzBmpButton1, Qt::LeftButton);
        QVERIFY2(boxes.isEmpty(), qPrintable(std::exchange(boxes, {}).join('\n')));
    }

    // Runs `withDialog` on the modal dialog that `open` brings up, then closes it.
    template <typename Dialog>
    bool WithModal(const std::function<void()>& open,
                   const std::function<void(Dialog&)>& withDialog) {
        bool seen = false;
        QObject scope;
        QTimer::singleShot(50, &scope, [&] {
            auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen = true;
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            withDialog(*dialog);
            dialog->reject();
        });
        open();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get()) && seen;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(schedule::DefaultSchedulePath());
        QFile::remove(TFGeneral::WindowSettingsPath());
        SetMessageBoxHook([this](const QString& text, const QString& caption) {
            boxes << text + " | " + caption;
        });
        // The screen is the one asked for: a configuration the platform ignored would pass
        // every window on its own small default screen.
        QCOMPARE(Screen()->geometry().size() * Screen()->devicePixelRatio(), pixels_);
        QCOMPARE(Screen()->devicePixelRatio(), scale_);
    }

    void init() {
        window = std::make_unique<TFGeneral>();
        FGeneral = window.get();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(FTitle);
    }

    void cleanup() {
        window.reset();
        QFile::remove(schedule::DefaultSchedulePath());
        QFile::remove(TFGeneral::WindowSettingsPath());
        boxes.clear();
    }

    void theSplashFits() {
        QVERIFY2(Unfitting(FTitle).isEmpty(), qPrintable(Unfitting(FTitle).join('\n')));
        QVERIFY2(Clipped(FTitle).isEmpty(), qPrintable(Clipped(FTitle).join('\n')));
    }

    // Every page of the main window: each kind with its result and the check in the status
    // strip, the schedule with rows. (The reference is a web view that fills the pane and
    // scrolls; its engine needs a real display.)
    void theMainWindowFitsOnEveryPage() {
        CloseSplash();
        QStringList faults;
        for (int kind = 0; kind < 5; ++kind) {
            Calculate(kind);
            for (const QString& fault : Faults(window.get()))
                faults << QStringLiteral("kind %1: ").arg(kind) + fault;
        }
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(std::exchange(boxes, {}), QStringList());
        window->GrSchedule->click(0);
        for (const QString& fault : Faults(window.get()))
            faults << QStringLiteral("schedule: ") + fault;
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // The thickness analysis of every kind, whose table has a column per figure.
    void theAnalysisFitsForEveryKind() {
        CloseSplash();
        QStringList faults;
        for (int kind = 0; kind < 5; ++kind) {
            Calculate(kind);
            const bool opened = WithModal<AnalysisPanel>(
                [&] { QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier); },
                [&](AnalysisPanel& panel) {
                    for (const QString& fault : Faults(&panel))
                        faults << QStringLiteral("kind %1: ").arg(kind) + fault;
                });
            QVERIFY2(opened, qPrintable(QString::number(kind)));
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // The preview opens maximised, with every command of its toolbar in sight, and fits when
    // the user restores it to a window.
    void theReportPreviewFits() {
        CloseSplash();
        Calculate(4);
        QStringList faults;
        const bool opened = WithModal<reportengine::ReportPreview>(
            [&] { QTest::mouseClick(window->RzBmpButton3, Qt::LeftButton); },
            [&](reportengine::ReportPreview& preview) {
                QVERIFY(preview.isMaximized());
                faults << Faults(&preview);
                preview.showNormal();
                QCoreApplication::processEvents();
                for (const QString& fault : Faults(&preview))
                    faults << QStringLiteral("restored: ") + fault;
            });
        QVERIFY(opened);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // The longest boxes the program shows: an import's summary with its unread lines, a
    // question, a long caption.
    void messageBoxesFit() {
        CloseSplash();
        QStringList unread;
        for (int line = 1; line <= 15; ++line)
            unread << QStringLiteral("строка %1: «Т-%1;Цилиндр ЗОРБАЛИТ - 80;108;150;сталь; "
                                     "непроходной канал, подвесная изоляция» — в столбце "
                                     "«Температура теплоносителя, °С» не число")
                          .arg(line + 100);
        const QString texts[] = {
            QStringLiteral("Импорт из файла «Котельная №2, тепловая сеть от ТК-14 до ТК-31.csv»: "
                           "добавлено строк: 120, не прочитано: 15.\n\nНе прочитаны и не "
                           "добавлены:\n") +
                unread.join('\n'),
            QStringLiteral("Удалить все строки ведомости (1200)? Их можно вернуть командой "
                           "«Отменить» (Ctrl+Z)."),
        };
        const QString captions[] = {QStringLiteral("Ведомость расчётов"),
                                    QStringLiteral("Скорректируйте входные данные")};
        QStringList faults;
        for (const QString& text : texts)
            for (const QString& caption : captions) {
                const auto box = MakeMessageBox(window.get(), text, caption);
                box->show();
                QVERIFY(QTest::qWaitForWindowExposed(box.get()));
                faults << Unfitting(box.get()) << Clipped(box.get());
                box->close();
            }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }
};

int main(int argc, char** argv) {
    // IZOL_TEST_SCREEN=1920x1080; the scale factor is Qt's own QT_SCALE_FACTOR.
    const QString asked = qEnvironmentVariable("IZOL_TEST_SCREEN", QStringLiteral("1366x768"));
    const QStringList sides = asked.split(u'x');
    const QSize pixels = sides.size() == 2 ? QSize(sides[0].toInt(), sides[1].toInt()) : QSize();
    if (pixels.isEmpty()) qFatal("IZOL_TEST_SCREEN: WIDTHxHEIGHT, not %s", qPrintable(asked));
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    // The offscreen platform takes its screens from a configuration file.
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(config));
    const QJsonObject screen{{"name", "screen"},
                             {"x", 0},
                             {"y", 0},
                             {"width", pixels.width()},
                             {"height", pixels.height()}};
    file.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{screen}}}).toJson());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    Application app(argc, argv);
    ScreenFitTest test(pixels, scale);
    return QTest::qExec(&test, argc, argv);
}

#include "ScreenFitTest.moc"
