#include "Placeholders.h"

#include "QStringPrinter.h"
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace reportengine;

namespace {

const QLocale russian(QLocale::Russian);
const QLocale english(QLocale::English, QLocale::UnitedStates);

Template WithVariables() {
    Template t;
    t.variables = {{" NC1", {}, true},
                   {"cyl", QStringLiteral("'Труба'"), false},
                   {"tb", QStringLiteral("90"), false},
                   {"ta", 1.5, false},
                   {"nt", {}, false}};
    return t;
}

} // namespace

TEST(NumberText, GeneralFormWithTheLocaleSeparator) {
    struct Case {
        double value;
        const QLocale& locale;
        const char* expected;
    };
    // clang-format off
    const Case cases[] = {
        {18,                 russian, "18"},
        {1.5,                russian, "1,5"},
        {1.5,                english, "1.5"},
        {0.5,                russian, "0,5"},
        {-40,                russian, "-40"},
        {-2.25,              russian, "-2,25"},
        {0.1 + 0.2,          russian, "0,3"},           // fifteen significant digits
        {52.123,             russian, "52,123"},
        {123456.789,         russian, "123456,789"},    // no digit grouping
        {1e20,               russian, "100000000000000000000"}, // never an exponent
        {1e-5,               russian, "0,00001"},
        {0.0,                russian, "0"},
        {-0.0,               russian, "0"},
        {std::nan(""),       russian, ""},
        {std::numeric_limits<double>::infinity(), russian, ""},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(NumberText(c.value, c.locale), QString::fromUtf8(c.expected)) << c.value;
}

TEST(EvaluateText, ApostrophesAreStrippedAndDigitsBecomeNumbers) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"'Труба'",               "Труба"},
        {"'Открытый воздух'",     "Открытый воздух"},
        {"'30,0'",                "30,0"},          // a quoted result keeps its own separator
        {"''",                    ""},
        {"'it''s'",               "it's"},
        {"90",                    "90"},
        {"007",                   "7"},
        {"2.5",                   "2,5"},
        {"Труба",                 "Труба"},         // no expression: printed as it stands
        {"",                      ""},
    };
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(EvaluateText(QString::fromUtf8(text), russian), QString::fromUtf8(expected))
            << text;
}

TEST(ExpandPlaceholders, ReplacesDateAndVariables) {
    const Template t = WithVariables();
    const PrepareContext ruContext{QDate(2024, 3, 5), russian};
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"[Date]",              "05.03.2024"},
        {"[cyl]",               "Труба"},
        {"[tb]",                "90"},
        {"[ta]",                "1,5"},
        {"[nt]",                ""},              // a variable without a value prints nothing
        {"[ tb ]",              "90"},
        {"t = [tb] °С, [ta]",   "t = 90 °С, 1,5"},
        {"[unknown]",           "[unknown]"},     // a misspelt name shows instead of vanishing
        {"[ NC1]",              "[ NC1]"},        // a category heading is no variable
        {"[tb",                 "[tb"},
        {"Объект",              "Объект"},
    };
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ExpandPlaceholders(QString::fromUtf8(text), t, ruContext),
                  QString::fromUtf8(expected))
            << text;

    const PrepareContext enContext{QDate(2024, 3, 5), english};
    EXPECT_EQ(ExpandPlaceholders(QStringLiteral("[Date] [ta]"), t, enContext),
              QStringLiteral("3/5/24 1.5"));
}

TEST(Template, LooksUpVariablesAndBoxesByName) {
    Template t = WithVariables();
    t.page.boxes.push_back({QStringLiteral("Memo1"), QRectF(0, 0, 10, 10), true, {}, {}, {}});

    EXPECT_EQ(t.IndexOf(QStringLiteral(" NC1")), 0);
    EXPECT_EQ(t.IndexOf(QStringLiteral("cyl")), 1);
    EXPECT_EQ(t.IndexOf(QStringLiteral("nt")), 4);
    EXPECT_EQ(t.IndexOf(QStringLiteral("NT")), -1);
    EXPECT_EQ(t.IndexOf(QStringLiteral("dt")), -1);

    t.SetValue(4, 12.5);
    EXPECT_EQ(std::get<double>(t.variables[4].value), 12.5);
    t.SetValue(4, QStringLiteral("'x'"));
    EXPECT_EQ(std::get<QString>(t.variables[4].value), QStringLiteral("'x'"));
    t.ClearValue(4);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(t.variables[4].value));

    // A failed lookup hands -1 on; setting it must not write anywhere.
    const auto before = t.variables.size();
    t.SetValue(-1, 3.0);
    t.SetValue(static_cast<int>(before), QStringLiteral("x"));
    EXPECT_EQ(t.variables.size(), before);

    ASSERT_NE(t.FindObject(QStringLiteral("Memo1")), nullptr);
    EXPECT_EQ(t.FindObject(QStringLiteral("Memo1"))->name, QStringLiteral("Memo1"));
    EXPECT_EQ(t.FindObject(QStringLiteral("Memo2")), nullptr);
}
