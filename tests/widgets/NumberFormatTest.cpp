#include "NumberFormat.h"

#include <QTest>
#include <cmath>
#include <limits>
#include <memory>

namespace {
const QString Nbsp = QStringLiteral("\u00A0"); // the Russian group separator
} // namespace

class NumberFormatTest : public QObject {
    Q_OBJECT
private slots:
    void formatPattern_data();
    void formatPattern();
};

void NumberFormatTest::formatPattern_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("decimalSep");
    QTest::addColumn<QString>("groupSep");
    QTest::addColumn<QString>("expected");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QString ru = ",";
    const QString en = ".";
    struct Row {
        const char* pattern;
        double value;
        QString decimalSep;
        QString groupSep;
        QString expected;
    };
    // clang-format off
    const Row rows[] = {
        // the patterns of the window's fields, Russian separators
        {",0,;,-0",          0,          ru, Nbsp, "0"},
        {",0,;,-0",          -40,        ru, Nbsp, "-40"},
        {",0,;,-0",          1000,       ru, Nbsp, "1" + Nbsp + "000"},
        {",0,;,-0",          -1234567,   ru, Nbsp, "-1" + Nbsp + "234" + Nbsp + "567"},
        {",0,;,-0",          1.8,        ru, Nbsp, "2"},
        {",0,;,-0",          999.5,      ru, Nbsp, "1" + Nbsp + "000"},
        {",0,;,-0",          -0.4,       ru, Nbsp, "0"},
        {",0.###.;,-0.###",  1.8,        ru, Nbsp, "1,8"},
        {",0.###.;,-0.###",  2,          ru, Nbsp, "2"},
        {",0.###.;,-0.###",  45.6785,    ru, Nbsp, "45,679"},
        {",0.###.;,-0.###",  0.0004,     ru, Nbsp, "0"},
        {",0.###.;,-0.###",  -1234.5,    ru, Nbsp, "-1" + Nbsp + "234,5"},
        {",0.###;(,0.###)",  0.01,       ru, Nbsp, "0,01"},
        {",0.###;(,0.###)",  -1.8,       ru, Nbsp, "(1,8)"},
        {",0.###;(,0.###)",  -1234.5678, ru, Nbsp, "(1" + Nbsp + "234,568)"},
        {",0;(,0)",          24,         ru, Nbsp, "24"},
        {",0;(,0)",          -5,         ru, Nbsp, "(5)"},
        {",0,;,0",           90,         ru, Nbsp, "90"},
        {",0,;,0",           -5,         ru, Nbsp, "5"},   // that negative part has no sign
        // digits, literals and the odd corners
        {"000",              5,          ru, Nbsp, "005"},
        {"0.00",             1.5,        ru, Nbsp, "1,50"},
        {"0.00",             2.675,      ru, Nbsp, "2,68"},
        {"0.0#",             2,          ru, Nbsp, "2,0"},
        {"#.##",             0.5,        ru, Nbsp, ",5"},
        {"#",                0,          ru, Nbsp, ""},
        {"0",                -3,         ru, Nbsp, "-3"},
        {"0.0.0",            1.25,       ru, Nbsp, "1,25"},
        {"0 °C",             20,         ru, Nbsp, "20 °C"},
        {"0;",               -3,         ru, Nbsp, "-3"},
        {"",                 1.5,        ru, Nbsp, "1,5"},
        {",0.###",           nan,        ru, Nbsp, "0"},
        {",0.###",           inf,        ru, Nbsp, "0"},
        // English separators
        {",0.###",           1234.5,     en, ",",  "1,234.5"},
        {",0.###;(,0.###)",  -0.25,      en, ",",  "(0.25)"},
    };
    // clang-format on
    for (const Row& r : rows) {
        const QString name = QStringLiteral("%1 %2 %3").arg(r.pattern).arg(r.value).arg(r.groupSep);
        QTest::newRow(qPrintable(name))
            << QString(r.pattern) << r.value << r.decimalSep << r.groupSep << r.expected;
    }
}

void NumberFormatTest::formatPattern() {
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, decimalSep);
    QFETCH(QString, groupSep);
    QFETCH(QString, expected);
    QCOMPARE(FormatPattern(value, pattern, decimalSep, groupSep), expected);
}

std::unique_ptr<QObject> MakeNumberFormatTest() {
    return std::make_unique<NumberFormatTest>();
}

#include "NumberFormatTest.moc"
