#include "NumberField.h"
#include "EffectPrinting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace workflow;

namespace {

constexpr const char* Nbsp = "\u00A0";

TEST(ParseNumber, ReadsTheLocalesNotation) {
    struct Case {
        const char* text;
        const char* decimal;
        const char* group;
        std::optional<double> value;
    };
    // clang-format off
    const Case cases[] = {
        {"1,8",             ",", Nbsp, 1.8},
        {"1.8",             ".", ",",  1.8},
        {"-40",             ",", Nbsp, -40},
        {"\u221240",        ",", Nbsp, -40},      // the typeset minus
        {"+5",              ",", Nbsp, 5},
        {"1\u00A0000",      ",", Nbsp, 1000},     // grouped as the field shows it
        {"1 000,25",        ",", Nbsp, 1000.25},
        {"1,000.5",         ".", ",",  1000.5},
        {"(0,5)",           ",", Nbsp, -0.5},     // negatives in parentheses
        {",5",              ",", Nbsp, 0.5},
        {"5,",              ",", Nbsp, 5},
        {"-0",              ",", Nbsp, 0},
        {"  12  ",          ",", Nbsp, 12},
        {"1\u066B5",        "\u066B", "\u066C", 1.5}, // separators of more than one byte
        {"",                ",", Nbsp, std::nullopt},
        {"-",               ",", Nbsp, std::nullopt},
        {",",               ",", Nbsp, std::nullopt},
        {"abc",             ",", Nbsp, std::nullopt},
        {"1,5,5",           ",", Nbsp, std::nullopt},
        {"1.8",             ",", Nbsp, std::nullopt}, // not this locale's separator
        {"1e5",             ",", Nbsp, std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(ParseNumber(c.text, c.decimal, c.group), c.value) << c.text;
    EXPECT_FALSE(std::signbit(*ParseNumber("-0", ",", Nbsp)));
}

TEST(ParseNumber, AbsurdlyLongNumbersStayFinite) {
    const std::string digits(400, '9');
    const std::optional<double> big = ParseNumber(digits, ",", Nbsp);
    ASSERT_TRUE(big);
    EXPECT_TRUE(std::isfinite(*big));
    EXPECT_GT(*big, 1e300);
    EXPECT_TRUE(std::isfinite(*ParseNumber("-" + digits, ",", Nbsp)));
    EXPECT_DOUBLE_EQ(*ParseNumber("0," + digits, ",", Nbsp), 1.0);
}

TEST(IsTypable, ASignInFrontDigitsAndOneSeparator) {
    struct Case {
        const char* text;
        bool typable;
    };
    // clang-format off
    const Case cases[] = {
        {"",               true},
        {"-",              true},  // a sign alone while typing
        {"+5",             true},
        {"\u22125",        true},  // the typeset minus
        {"123456",         true},
        {"1000000",        true},  // the million itself
        {"-1000000",       true},
        {"9999999",        true},  // brought to the million when the field is left
        {"12345678",       false}, // more digits than any field takes
        {"1\u00A0000",     true},  // grouped as the field shows it on entry
        {"12,5",           true},  // also in a whole-number field, which rounds it later
        {",5",             true},
        {"1234567,891",    true},
        {"1,5,5",          false},
        {"1.5",            false}, // another locale's separator
        {"1-2",            false}, // a minus only in front
        {"5-",             false},
        {"--5",            false},
        {"12a",            false},
        {"1 0",            false}, // a plain blank is not this locale's group separator
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(IsTypable(c.text, ",", Nbsp), c.typable) << c.text;
}

TEST(PastedNumber, TrimsDropsGroupsAndReadsEitherSeparator) {
    struct Case {
        const char* clip;
        const char* decimal;
        std::optional<std::string> text;
    };
    // clang-format off
    const Case cases[] = {
        {"  35 ",           ",", "35"},
        {"35\r\n",          ",", "35"},          // a spreadsheet cell
        {"\t-12\n",         ",", "-12"},
        {"1 500",           ",", "1500"},
        {"1\u00A0500",      ",", "1500"},
        {"1\u202F500,25",   ",", "1500,25"},
        {"1,5",             ",", "1,5"},
        {"1.5",             ",", "1,5"},         // either separator when only one kind occurs
        {"1.5",             ".", "1.5"},
        {"1,5",             ".", "1.5"},
        {"1.500,5",         ",", "1500,5"},      // both: the last one is the decimal one
        {"1,500.5",         ",", "1500,5"},
        {"\u22123",         ",", "-3"},
        {"+7",              ",", "7"},
        {"1,5,5",           ",", std::nullopt},
        {"1 5,5 0",         ",", std::nullopt},  // no grouping in the fraction
        {"1  500",          ",", "1500"},        // a run of blanks is one separator
        {",5 ",             ",", ",5"},
        {"12 кг",           ",", std::nullopt},
        {"abc",             ",", std::nullopt},
        {"1-2",             ",", std::nullopt},
        {"",                ",", std::nullopt},
        {" , ",             ",", std::nullopt},
        {"1e5",             ",", std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(PastedNumber(c.clip, c.decimal), c.text) << c.clip;
}

TEST(FieldGroupSeparator, ACommaOrPointIsAlwaysTheDecimalSeparator) {
    EXPECT_EQ(FieldGroupSeparator(Nbsp), Nbsp);
    EXPECT_EQ(FieldGroupSeparator("\u202F"), "\u202F");
    EXPECT_EQ(FieldGroupSeparator("'"), "'");
    // The C locale groups with a comma: «0,3» typed or pasted there is 0.3, never 3.
    for (const char* localeGroup : {",", "."}) {
        const std::string_view group = FieldGroupSeparator(localeGroup);
        EXPECT_EQ(group, Nbsp);
        EXPECT_FALSE(IsTypable("0,3", ".", group));
        const std::optional<std::string> pasted = PastedNumber("0,3", ".");
        ASSERT_TRUE(pasted);
        EXPECT_EQ(
            LeaveField(RuleOf(NumberField(Control::RzNumericEdit21)), *pasted, 1, ".", group).value,
            0.3);
    }
}

struct LeaveCase {
    Control field;
    const char* text;
    double value;
    bool message;
};

TEST(LeaveField, EmptyCountsAsZeroFractionsRoundAndLimitsApply) {
    constexpr double Previous = 7;
    // clang-format off
    const LeaveCase cases[] = {
        {Control::RzNumericEdit13, "120",     90,    false}, // humidity
        {Control::RzNumericEdit13, "10",      50,    false},
        {Control::RzNumericEdit13, "",        50,    false},
        {Control::RzNumericEdit21, "0",       0.1,   false}, // channel height
        {Control::RzNumericEdit21, "7",       5,     false},
        {Control::RzNumericEdit21, "0,25",    0.25,  false},
        {Control::RzNumericEdit17, "0",       0.01,  false}, // soil conductivity
        {Control::RzNumericEdit18, "1500",    1000,  false}, // depth
        {Control::RzNumericEdit28, "",        1,     false}, // time without flow
        {Control::RzNumericEdit1,  "",        0,     false}, // no limits
        {Control::RzNumericEdit1,  "-",       0,     false}, // a lone sign is an emptied field
        {Control::RzNumericEdit1,  "1,5,5",   Previous, false}, // no number: the field keeps its value
        {Control::RzNumericEdit1,  "-273",    -273,  false},
        {Control::RzNumericEdit1,  "5000000000", 1e6, false}, // unlimited fields stop at a million
        {Control::RzNumericEdit1,  "9999999", 1e6,   false},
        {Control::RzNumericEdit2,  "-1000000", -1e6, false},
        {Control::RzNumericEdit2,  "-5000000000", -1e6, false},
        {Control::RzNumericEdit6,  "12,5",    13,    false}, // a whole-number field rounds halves away from zero
        {Control::RzNumericEdit6,  "-12,5",   -13,   false},
        {Control::RzNumericEdit6,  "12,49",   12,    false},
        {Control::RzNumericEdit25, "-7,9",    -8,    false},
        {Control::RzNumericEdit11, "60",      50,    true},  // the range message, then the limit
        {Control::RzNumericEdit11, "-50",     -40,   true},
        {Control::RzNumericEdit11, "50",      50,    false},
        {Control::RzNumericEdit11, "50,4",    50,    false}, // judged after rounding
        {Control::RzNumericEdit11, "50,5",    50,    true},
        {Control::RzNumericEdit11, "-40",     -40,   false},
        {Control::RzNumericEdit11, "",        0,     false},
    };
    // clang-format on
    // As the window leaves a field: its range hook hears of the number typed, then the field
    // takes the value.
    for (const LeaveCase& c : cases) {
        const NumberFieldSpec& field = NumberField(c.field);
        const LeftField left = LeaveField(RuleOf(field), c.text, Previous, ",", Nbsp);
        EXPECT_EQ(left.value, c.value) << ObjectName(c.field) << " " << c.text;
        EXPECT_EQ(left.outsideLimits && RangeMessage(field, left.typed), c.message)
            << ObjectName(c.field) << " " << c.text;
    }
    // A field left as it was shown keeps the digits its pattern hides.
    const FieldRule rule = RuleOf(NumberField(Control::RzNumericEdit21));
    EXPECT_EQ(LeaveField(rule, "1,23", 1.2345, ",", Nbsp, "1,23").value, 1.2345);
    EXPECT_EQ(LeaveField(rule, "1,23", 1.2345, ",", Nbsp, "1,2").value, 1.23);
}

// A fraction rounded is said beside the field; a whole number, a real field or a limit is not.
TEST(LeaveField, ARoundedFractionIsSaid) {
    struct Case {
        Control field;
        const char* text;
        const char* shown;
        const char* note; // none: nullptr
    };
    // clang-format off
    const Case cases[] = {
        {Control::RzNumericEdit25, "-6,7",  "-7", "округлено: -7"}, // a whole-degree field
        {Control::RzNumericEdit6,  "12,5",  "13", "округлено: 13"},
        {Control::RzNumericEdit6,  "12",    "12", nullptr},
        {Control::RzNumericEdit21, "0,25",  "0,25", nullptr},       // a real field
        {Control::RzNumericEdit11, "60,4",  "50", nullptr},         // the limit's own message
        {Control::RzNumericEdit6,  "",      "0", nullptr},
    };
    // clang-format on
    for (const Case& c : cases) {
        const FieldRule rule = RuleOf(NumberField(c.field));
        const std::optional<std::string> note =
            RoundingNote(rule, LeaveField(rule, c.text, 0, ",", Nbsp), c.shown);
        EXPECT_EQ(note.value_or("(none)"), c.note ? c.note : "(none)") << c.text;
    }
}

TEST(LeaveField, RangeMessageOfTheCondensationAirTemperature) {
    const NumberFieldSpec& field = NumberField(Control::RzNumericEdit11);
    const LeftField left = LeaveField(RuleOf(field), "60", 0, ",", Nbsp);
    ASSERT_TRUE(left.outsideLimits);
    EXPECT_EQ(
        RangeMessage(field, left.typed),
        (ShowMessage{"Диапазон температур предусмотрен от -40 до +50 °С", "Ошибка ввода данных"}));
    // The humidity field is brought into range silently.
    EXPECT_FALSE(RangeMessage(NumberField(Control::RzNumericEdit13), 120));
}

TEST(BringIntoRange, NotANumberCountsAsZero) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(BringIntoRange(NumberField(Control::RzNumericEdit1), nan), 0);
    EXPECT_EQ(BringIntoRange(NumberField(Control::RzNumericEdit28), nan), 1);
    EXPECT_EQ(BringIntoRange(NumberField(Control::RzNumericEdit2),
                             std::numeric_limits<double>::infinity()),
              UnlimitedBound);
}

TEST(ToInt32, TruncatesTowardZeroAndSaturates) {
    constexpr int32_t Max = std::numeric_limits<int32_t>::max();
    constexpr int32_t Min = std::numeric_limits<int32_t>::min();
    constexpr double Inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        int32_t expected;
    };
    // clang-format off
    const Case cases[] = {
        {0, 0}, {2.7, 2}, {-2.7, -2}, {-0.5, 0}, {1e6, 1000000},
        {2147483647.9, Max}, {2147483648.0, Max}, {1e300, Max}, {Inf, Max},
        {-2147483648.0, Min}, {-2147483648.9, Min}, {-1e300, Min}, {-Inf, Min},
        {-2147483647.5, -2147483647},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(ToInt32(c.value), c.expected) << c.value;
}

} // namespace
