#include "Placeholders.h"

#include "UserLocales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace reporttemplate;

namespace {

const Formats russian{"05.03.2024", ",", "-"};
const Formats english{"3/5/24", ".", "-"};

Template WithVariables() {
    Template t;
    t.variables = {{" NC1", {}, true},
                   {"cyl", std::string("'Труба'"), false},
                   {"tb", std::string("90"), false},
                   {"ta", 1.5, false},
                   {"nt", {}, false}};
    return t;
}

} // namespace

TEST(NumberText, GeneralFormWithTheLocaleSeparator) {
    struct Case {
        double value;
        const Formats& formats;
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
    for (const char* locale : testlocale::UserLocales) {
        const testlocale::UnderLocale under(locale);
        ASSERT_TRUE(under.Set()) << locale << " is not installed: make deps generates it";
        for (const Case& c : cases)
            EXPECT_EQ(NumberText(c.value, c.formats), c.expected) << c.value << " under " << locale;
    }
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
        EXPECT_EQ(EvaluateText(text, russian), expected) << text;
}

TEST(ExpandPlaceholders, ReplacesDateAndVariables) {
    const Template t = WithVariables();
    const Formats& ruContext = russian;
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
        EXPECT_EQ(ExpandPlaceholders(text, t, ruContext), expected) << text;

    EXPECT_EQ(ExpandPlaceholders("[Date] [ta]", t, english), "3/5/24 1.5");
}

TEST(Template, LooksUpVariablesAndBoxesByName) {
    Template t = WithVariables();
    t.page.boxes.push_back({"Memo1", {0, 0, 10, 10}, true, {}, {}, {}});

    EXPECT_EQ(t.IndexOf((" NC1")), 0);
    EXPECT_EQ(t.IndexOf(("cyl")), 1);
    EXPECT_EQ(t.IndexOf(("nt")), 4);
    EXPECT_EQ(t.IndexOf(("NT")), -1);
    EXPECT_EQ(t.IndexOf(("dt")), -1);

    t.SetValue(4, 12.5);
    EXPECT_EQ(std::get<double>(t.variables[4].value), 12.5);
    t.SetValue(4, std::string("'x'"));
    EXPECT_EQ(std::get<std::string>(t.variables[4].value), std::string("'x'"));
    t.ClearValue(4);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(t.variables[4].value));

    // A failed lookup hands -1 on; setting it must not write anywhere.
    const auto before = t.variables.size();
    t.SetValue(-1, 3.0);
    t.SetValue(static_cast<int>(before), std::string("x"));
    EXPECT_EQ(t.variables.size(), before);

    ASSERT_NE(t.FindObject(("Memo1")), nullptr);
    EXPECT_EQ(t.FindObject(("Memo1"))->name, ("Memo1"));
    EXPECT_EQ(t.FindObject(("Memo2")), nullptr);
}
