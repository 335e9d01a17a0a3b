// The splash window: its starting state, the fade driven through its timer handlers, and
// the click that closes it at once.
#include "uTitleForm.h"

#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QtTest>

class TitleFormTest : public QObject {
    Q_OBJECT

private:
    // Runs the deferred deletion that closing the splash asked for.
    static void FlushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static TFTitle* ShowSplash() {
        auto* splash = new TFTitle;
        splash->show();
        return splash;
    }

private slots:
    void initTestCase() {
        // The offscreen platform keeps the opacity but warns at every step of the fade.
        static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                if (!text.contains(QStringLiteral("does not support setting window opacity")))
                    previous(type, context, text);
            });
    }

    void startsOpaqueCentredAndWaiting() {
        QPointer<TFTitle> splash = ShowSplash();
        QCOMPARE(FTitle, splash.data());
        QCOMPARE(splash->size(), QSize(659, 294));
        QCOMPARE(splash->minimumSize(), splash->maximumSize());
        QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(splash->AlphaBlendValue(), quint8(208));
        QCOMPARE(splash->windowOpacity(), 208 / 255.0);
        QCOMPARE(splash->geometry().center(),
                 QGuiApplication::primaryScreen()->geometry().center());

        QVERIFY(splash->TimerClose->isActive());
        QCOMPARE(splash->TimerClose->interval(), 4000);
        QVERIFY(!splash->TimerStep->isActive());
        QCOMPARE(splash->TimerStep->interval(), 40);

        QCOMPARE(splash->Image1->geometry(), QRect(0, 0, 659, 294));
        QCOMPARE(splash->RzLabel1->geometry(), QRect(184, 24, 391, 72));
        QCOMPARE(splash->RzLabel1->text(), QStringLiteral("Программа расчёта толщины \n"
                                                          "теплоизоляционного слоя материалов \n"
                                                          "ЗОРБАЛИТ"));
        QCOMPARE(splash->RzLabel1->font().pixelSize(), 19);
        QVERIFY(splash->RzLabel1->font().bold());
        QCOMPARE(splash->RzLabel1->palette().color(QPalette::WindowText), QColor(Qt::red));
        // The three lines fit the label in the font that stands in for MS Sans Serif.
        const QFontMetrics metrics(splash->RzLabel1->font());
        for (const QString& line : splash->RzLabel1->text().split(u'\n'))
            QVERIFY2(metrics.horizontalAdvance(line) <= 391, qPrintable(line));
        QVERIFY(3 * metrics.height() <= 72);
        delete splash;
        QVERIFY(FTitle == nullptr);
    }

    // Red text must stay readable: the picture is light where the title is written.
    void pictureIsLightUnderTheTitle() {
        std::unique_ptr<TFTitle> splash(ShowSplash());
        const QImage picture = splash->Image1->grab().toImage();
        QCOMPARE(picture.size(), QSize(659, 294));
        const QRect title = splash->RzLabel1->geometry();
        double luminance = 0;
        for (int y = title.top(); y <= title.bottom(); ++y)
            for (int x = title.left(); x <= title.right(); ++x)
                luminance += qGray(picture.pixel(x, y));
        luminance /= title.width() * title.height();
        QVERIFY2(luminance > 180, qPrintable(QString::number(luminance)));
        // A drawn picture, not an empty fill.
        QVERIFY(picture.pixel(10, 280) != picture.pixel(300, 10));
    }

    void fadesIn52StepsAndClosesOnThe53rd() {
        QPointer<TFTitle> splash = ShowSplash();
        splash->TimerCloseTimer();
        QVERIFY(splash->TimerStep->isActive());
        QVERIFY(splash->TimerClose->isActive()); // left running; the window is gone first
        for (int tick = 1; tick <= 52; ++tick) {
            splash->TimerStepTimer();
            QCOMPARE(int(splash->AlphaBlendValue()), 208 - 4 * tick);
            QCOMPARE(splash->windowOpacity(), (208 - 4 * tick) / 255.0);
        }
        QVERIFY(splash->isVisible());
        QVERIFY(splash->TimerStep->isActive());

        splash->TimerStepTimer();
        QVERIFY(!splash->isVisible());
        QVERIFY(!splash->TimerStep->isActive());
        QCOMPARE(splash->AlphaBlendValue(), quint8(0));
        FlushDeletes();
        QVERIFY(splash.isNull());
        QVERIFY(FTitle == nullptr);
    }

    void clickClosesAtOnce_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("fadeTicks");
        QTest::newRow("picture, steady") << "Image1" << 0;
        QTest::newRow("text, steady") << "RzLabel1" << 0;
        QTest::newRow("picture, fading") << "Image1" << 10;
        QTest::newRow("text, fading") << "RzLabel1" << 30;
    }

    void clickClosesAtOnce() {
        QFETCH(QString, target);
        QFETCH(int, fadeTicks);
        QPointer<TFTitle> splash = ShowSplash();
        if (fadeTicks > 0) splash->TimerCloseTimer();
        for (int tick = 0; tick < fadeTicks; ++tick)
            splash->TimerStepTimer();
        const quint8 alpha = splash->AlphaBlendValue();

        auto* widget = splash->findChild<QWidget*>(target);
        QVERIFY(widget);
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(200, 30));
        QVERIFY(!splash->isVisible());
        // No tick can follow: both timers are stopped and the window is freed.
        QVERIFY(!splash->TimerClose->isActive());
        QVERIFY(!splash->TimerStep->isActive());
        QCOMPARE(splash->AlphaBlendValue(), alpha);
        FlushDeletes();
        QVERIFY(splash.isNull());
        QVERIFY(FTitle == nullptr);
    }

    // The main window passes itself: the splash is its secondary window and dies with it.
    void goesDownWithItsOwner() {
        auto* owner = new QWidget;
        owner->show();
        QPointer<TFTitle> splash = new TFTitle(owner);
        splash->show();
        QVERIFY(splash->isWindow());
        QVERIFY(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        delete owner;
        QVERIFY(splash.isNull());
        QVERIFY(FTitle == nullptr);
    }

    // Left alone, the splash closes by its own timers; shortened here so that the test
    // checks their wiring without waiting six seconds.
    void closesByItsOwnTimers() {
        QPointer<TFTitle> splash = ShowSplash();
        // TimerClose keeps ticking and each tick restarts TimerStep, so it must stay the slower.
        splash->TimerClose->start(50);
        splash->TimerStep->setInterval(1);
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 10000);
        QVERIFY(FTitle == nullptr);
    }
};

QTEST_MAIN(TitleFormTest)
#include "TitleFormTest.moc"
