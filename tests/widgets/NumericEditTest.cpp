#include "NumericEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

// A window with the edit under test and a neighbour to move the focus to, under
// Russian settings unless told otherwise.
struct EditWindow {
    QWidget window;
    NumericEdit* edit = new NumericEdit(&window);
    QLineEdit* neighbour = new QLineEdit(&window);

    explicit EditWindow(const QLocale& locale = QLocale(QLocale::Russian, QLocale::Russia)) {
        window.setLocale(locale);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(neighbour);
        window.show();
        window.activateWindow();
    }
    // The first field takes the focus when the window is activated; start elsewhere.
    bool ready() {
        const bool active = QTest::qWaitForWindowActive(&window);
        leave();
        return active && neighbour->hasFocus();
    }
    void enter() { edit->setFocus(Qt::TabFocusReason); }
    void leave() { neighbour->setFocus(Qt::TabFocusReason); }
    void type(const QString& keys) {
        enter();
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, keys);
    }
};

class NumericEditTest : public QObject {
    Q_OBJECT
private slots:
    void rangeHookSeesValueBeforeLimit_data();
    void rangeHookSeesValueBeforeLimit();
    void rangeAppliesOnLeavingNotOnSetting();
    void typingAcceptsOnlyWhatTheModeAllows_data();
    void typingAcceptsOnlyWhatTheModeAllows();
    void commaOrPointIsTheDecimalSeparatorInEveryLocale_data();
    void commaOrPointIsTheDecimalSeparatorInEveryLocale();
    void pastedNumbersAreReadAndWordsRefusedVisibly();
    void patternShownOnSetEnterAndLeave();
    void enteredOnceAndMayEmptyTheField();
    void readOnlyAndDisabled();
};

void NumericEditTest::rangeHookSeesValueBeforeLimit_data() {
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("hook");
    QTest::addColumn<double>("hookValue");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("above")          << -40.0 << 50.0   << "60"  << true  << 60.0  << "50";
    QTest::newRow("below")          << -40.0 << 50.0   << "-50" << true  << -50.0 << "-40";
    QTest::newRow("inside")         << -40.0 << 50.0   << "20"  << false << 0.0   << "20";
    QTest::newRow("empty is 0")     << -40.0 << 50.0   << ""    << false << 0.0   << "0";
    QTest::newRow("empty, min 1")   << 1.0   << 1000.0 << ""    << true  << 0.0   << "1";
    QTest::newRow("lone sign is 0") << 1.0   << 1000.0 << "-"   << true  << 0.0   << "1";
    // clang-format on
}

void NumericEditTest::rangeHookSeesValueBeforeLimit() {
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(QString, typed);
    QFETCH(bool, hook);
    QFETCH(double, hookValue);
    QFETCH(QString, shown);

    EditWindow w;
    QVERIFY(w.ready());
    w.edit->setDisplayFormat(",0,;,-0");
    w.edit->setRange(minimum, maximum);
    w.edit->setValue(7);

    QList<double> seen; // the hook's argument, then value() inside the hook
    connect(w.edit, &NumericEdit::rangeError, w.edit,
            [&](double value) { seen << value << w.edit->value(); });
    w.type(typed);
    w.leave();

    if (hook)
        QCOMPARE(seen, (QList<double>{hookValue, hookValue}));
    else
        QVERIFY(seen.isEmpty());
    QCOMPARE(w.edit->text(), shown);
    QCOMPARE(w.edit->value(), QLocale::c().toDouble(shown));
}

void NumericEditTest::rangeAppliesOnLeavingNotOnSetting() {
    // The humidity field: 0 from the start, 50 to 90 once the user has been in it.
    EditWindow w;
    QVERIFY(w.ready());
    w.edit->setRange(50, 90);
    QSignalSpy hook(w.edit, &NumericEdit::rangeError);
    w.edit->setValue(0);
    QCOMPARE(w.edit->text(), "0");
    QCOMPARE(hook.count(), 0);

    w.enter();
    w.leave();
    QCOMPARE(hook.count(), 1);
    QCOMPARE(w.edit->value(), 50.0);
}

void NumericEditTest::typingAcceptsOnlyWhatTheModeAllows_data() {
    QTest::addColumn<bool>("decimals");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    // clang-format off
    QTest::newRow("letters and late signs") << false << "12a-3+4"    << "1234"    << 1234.0;
    QTest::newRow("fraction rounds")        << false << "12,5"       << "12,5"    << 13.0;
    QTest::newRow("point in integer")       << false << "12.4"       << "12,4"    << 12.0;
    QTest::newRow("the million")            << false << "1000000"    << "1000000" << 1e6;
    QTest::newRow("minus the million")      << false << "-1000000"   << "-1000000" << -1e6;
    QTest::newRow("seven digits at most")   << false << "99999999"   << "9999999" << 1e6;
    QTest::newRow("leading minus")          << false << "-25"        << "-25"     << -25.0;
    QTest::newRow("negative half")          << false << "-2,5"       << "-2,5"    << -3.0;
    QTest::newRow("one separator")          << true  << "1,2,5"      << "1,25"    << 1.25;
    QTest::newRow("point becomes comma")    << true  << "0.5"        << "0,5"     << 0.5;
    QTest::newRow("seven before separator") << true  << "12345678,5" << "1234567,5" << 1e6;
    // clang-format on
}

void NumericEditTest::typingAcceptsOnlyWhatTheModeAllows() {
    QFETCH(bool, decimals);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(double, value);

    EditWindow w;
    QVERIFY(w.ready());
    w.edit->setMode(decimals ? NumericEdit::Mode::Decimal : NumericEdit::Mode::Integer);
    w.edit->setDisplayFormat(decimals ? "0.####" : "0");
    w.type(keys);
    QCOMPARE(w.edit->text(), text); // the typed text stands while typing
    w.leave();
    QCOMPARE(w.edit->value(), value);
}

void NumericEditTest::commaOrPointIsTheDecimalSeparatorInEveryLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("pasted");
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    // The C locale groups digits with a comma, which a reader takes for the decimal one.
    const QLocale c = QLocale::c();
    // clang-format off
    QTest::newRow("ru, comma typed")  << russian << "0,3" << false;
    QTest::newRow("ru, point typed")  << russian << "0.3" << false;
    QTest::newRow("C, comma typed")   << c       << "0,3" << false;
    QTest::newRow("C, point typed")   << c       << "0.3" << false;
    QTest::newRow("C, comma pasted")  << c       << "0,3" << true;
    QTest::newRow("C, point pasted")  << c       << "0.3" << true;
    // clang-format on
}

void NumericEditTest::commaOrPointIsTheDecimalSeparatorInEveryLocale() {
    QFETCH(QLocale, locale);
    QFETCH(QString, input);
    QFETCH(bool, pasted);

    // The channel height: decimals, 0.1 to 5.
    EditWindow w(locale);
    QVERIFY(w.ready());
    w.edit->setMode(NumericEdit::Mode::Decimal);
    w.edit->setDisplayFormat(",0.###;(,0.###)");
    w.edit->setRange(0.1, 5);
    w.edit->setValue(1);
    if (pasted) {
        w.enter();
        QApplication::clipboard()->setText(input);
        w.edit->selectAll();
        w.edit->paste();
    } else {
        w.type(input);
    }
    w.leave();
    QCOMPARE(w.edit->value(), 0.3);
    QCOMPARE(w.edit->text(), "0" + locale.decimalPoint() + "3");

    // The field never groups with a mark that could be read as a decimal separator, so that
    // its own text reads back the same when typed on.
    w.edit->clearRange();
    w.edit->setValue(1234.5);
    QCOMPARE(w.edit->text(), "1\u00A0234" + locale.decimalPoint() + "5");
    w.enter();
    w.edit->end(false);
    QTest::keyClicks(w.edit, "6");
    w.leave();
    QCOMPARE(w.edit->value(), 1234.56);
}

void NumericEditTest::pastedNumbersAreReadAndWordsRefusedVisibly() {
    EditWindow w;
    QVERIFY(w.ready());
    w.edit->setMode(NumericEdit::Mode::Decimal);
    w.edit->setValue(42);
    w.enter();
    QSignalSpy refused(w.edit, &NumericEdit::inputRefused);
    const auto paste = [&](const QString& clip) {
        QApplication::clipboard()->setText(clip);
        w.edit->selectAll();
        w.edit->paste();
        return w.edit->text();
    };
    // What a spreadsheet or a text puts around a number is dropped.
    QCOMPARE(paste("  35 \n"), "35");
    QCOMPARE(paste("1 500"), "1500");
    QCOMPARE(paste("1\u00A0500"), "1\u00A0500"); // grouped as the field itself groups

    QCOMPARE(paste("1.5"), "1,5");
    QCOMPARE(refused.count(), 0);

    for (const QString& clip : {QStringLiteral("abc"), QStringLiteral("12 кг"),
                                QStringLiteral("1-2"), QStringLiteral("1,5,5")}) {
        QCOMPARE(paste(clip), "1,5"); // the field keeps its text
        QCOMPARE(refused.count(), 1);
        QCOMPARE(refused.takeFirst().at(0).toString(), "Вставленный текст — не число");
        QCOMPARE(w.edit->palette().color(QPalette::Base), QColor(255, 205, 200)); // the flash
        QTRY_COMPARE_WITH_TIMEOUT(w.edit->palette().color(QPalette::Base),
                                  w.neighbour->palette().color(QPalette::Base), 2000);
    }

    // A key that makes no number is refused in so many words too.
    w.edit->setCursorPosition(1);
    QTest::keyClick(w.edit, Qt::Key_Minus);
    QCOMPARE(w.edit->text(), "1,5");
    QCOMPARE(refused.count(), 1);
    QVERIFY(refused.takeFirst().at(0).toString().contains("минус"));
    w.leave();
    QCOMPARE(w.edit->value(), 1.5);
}

void NumericEditTest::patternShownOnSetEnterAndLeave() {
    EditWindow w;
    QVERIFY(w.ready());
    const QString group = w.edit->locale().groupSeparator();
    w.edit->setMode(NumericEdit::Mode::Decimal);
    w.edit->setDisplayFormat(",0.###;(,0.###)");

    w.edit->setValue(1.8);
    QCOMPARE(w.edit->text(), "1,8");
    w.edit->setValue(-1000);
    QCOMPARE(w.edit->text(), "(1" + group + "000)");

    // Text put in by the program is shown through the pattern on entry and kept on leaving.
    w.edit->setValue(1.23456);
    w.edit->setText("x");
    w.enter();
    QCOMPARE(w.edit->text(), "1,235");
    w.leave();
    QCOMPARE(w.edit->value(), 1.23456);

    w.type("1234,5");
    w.leave();
    QCOMPARE(w.edit->text(), "1" + group + "234,5");
    QCOMPARE(w.edit->value(), 1234.5);
}

void NumericEditTest::enteredOnceAndMayEmptyTheField() {
    EditWindow w;
    QVERIFY(w.ready());
    w.edit->setValue(0);
    QStringList textsOnEntry;
    connect(w.edit, &NumericEdit::entered, w.edit, [&] {
        textsOnEntry << w.edit->text();
        if (w.edit->text() == "0") w.edit->setText({});
    });
    w.enter();
    QCOMPARE(textsOnEntry, QStringList{"0"});
    QCOMPARE(w.edit->text(), QString());

    // Losing and regaining the window's activation is not a new entry.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(w.edit, &out);
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(w.edit, &in);
    QCOMPARE(textsOnEntry.size(), 1);

    QTest::keyClicks(w.edit, "5");
    w.leave();
    QCOMPARE(w.edit->value(), 5.0);
}

void NumericEditTest::readOnlyAndDisabled() {
    EditWindow w;
    QVERIFY(w.ready());
    w.edit->setReadOnly(true);
    w.edit->setValue(12);
    w.enter();
    QTest::keyClicks(w.edit, "3");
    w.leave();
    QCOMPARE(w.edit->value(), 12.0);

    w.edit->setReadOnly(false);
    w.edit->setEnabled(false);
    w.enter();
    QVERIFY(!w.edit->hasFocus());
}

std::unique_ptr<QObject> MakeNumericEditTest() {
    return std::make_unique<NumericEditTest>();
}

#include "NumericEditTest.moc"
