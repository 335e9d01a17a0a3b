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
    void typableNumber_data();
    void typableNumber();
    void parseNumber_data();
    void parseNumber();
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

void NumberFormatTest::typableNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("decimals");
    QTest::addColumn<bool>("expected");
    // clang-format off
    QTest::newRow("empty")              << ""              << false << true;
    QTest::newRow("sign alone")         << "-"             << false << true;
    QTest::newRow("plus")               << "+5"            << false << true;
    QTest::newRow("seven digits")       << "1234567"       << false << true;
    QTest::newRow("eight digits")       << "12345678"      << false << false;
    QTest::newRow("grouped")            << "1" + Nbsp + "000" << false << true;
    QTest::newRow("decimal")            << "1,5"           << true  << true;
    QTest::newRow("decimal in integer") << "1,5"           << false << false;
    QTest::newRow("second separator")   << "1,5,5"         << true  << false;
    QTest::newRow("foreign separator")  << "1.5"           << true  << false;
    QTest::newRow("long fraction")      << "1234567,891"   << true  << true;
    QTest::newRow("eight before sep")   << "12345678,1"    << true  << false;
    QTest::newRow("letter")             << "12a"           << false << false;
    QTest::newRow("sign inside")        << "5-"            << false << false;
    QTest::newRow("two signs")          << "--5"           << false << false;
    QTest::newRow("blank")              << "1 0"           << false << false;
    // clang-format on
}

void NumberFormatTest::typableNumber() {
    QFETCH(QString, text);
    QFETCH(bool, decimals);
    QFETCH(bool, expected);
    QCOMPARE(IsTypableNumber(text, decimals, u",", Nbsp), expected);
}

void NumberFormatTest::parseNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("expected");
    // clang-format off
    QTest::newRow("grouped decimal") << "1" + Nbsp + "000,5" << true  << 1000.5;
    QTest::newRow("parentheses")     << "(1,8)"              << true  << -1.8;
    QTest::newRow("minus")           << "-40"                << true  << -40.0;
    QTest::newRow("plus")            << "+7"                 << true  << 7.0;
    QTest::newRow("empty")           << ""                   << false << 0.0;
    QTest::newRow("words")           << "abc"                << false << 0.0;
    QTest::newRow("infinity")        << "inf"                << false << 0.0;
    // clang-format on
}

void NumberFormatTest::parseNumber() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, expected);
    const std::optional<double> parsed = ParseNumber(text, u",", Nbsp);
    QCOMPARE(parsed.has_value(), ok);
    if (ok) QCOMPARE(*parsed, expected);
}

std::unique_ptr<QObject> MakeNumberFormatTest() {
    return std::make_unique<NumberFormatTest>();
}

#include "NumberFormatTest.moc"
