#include "NumberField.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace workflow {

namespace {

constexpr std::string_view RangeErrorText = "Диапазон температур предусмотрен от -40 до +50 °С";

// Blanks that a locale may put between digit groups: space, no-break space, narrow
// no-break space (UTF-8).
constexpr std::array<std::string_view, 3> Blanks = {" ", "\u00A0", "\u202F"};
// What a spreadsheet or a text puts around a copied number.
constexpr std::array<std::string_view, 6> Around = {" ", "\u00A0", "\u202F", "\r", "\n", "\t"};
// U+2212 is the minus sign of typeset text.
constexpr std::array<std::string_view, 3> Signs = {"-", "+", "\u2212"};

void EraseAll(std::string& s, std::string_view what) {
    if (what.empty()) return;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at))
        s.erase(at, what.size());
}

double PowerOfTen(int exponent) {
    // Exact up to 10^22, so that "1,8" gives the double nearest to 1.8.
    double p = 1;
    for (int i = 0; i < exponent && i < 22; ++i)
        p *= 10;
    return exponent > 22 ? std::pow(10.0, exponent) : p;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The piece of `list` that `s` starts with, or none.
template <std::size_t N>
std::optional<std::string_view> StartsWithOneOf(std::string_view s,
                                                const std::array<std::string_view, N>& list) {
    for (std::string_view piece : list)
        if (s.starts_with(piece)) return piece;
    return std::nullopt;
}

template <std::size_t N>
std::optional<std::string_view> EndsWithOneOf(std::string_view s,
                                              const std::array<std::string_view, N>& list) {
    for (std::string_view piece : list)
        if (s.ends_with(piece)) return piece;
    return std::nullopt;
}

std::string_view Trimmed(std::string_view s) {
    while (const auto front = StartsWithOneOf(s, Around))
        s.remove_prefix(front->size());
    while (const auto back = EndsWithOneOf(s, Around))
        s.remove_suffix(back->size());
    return s;
}

} // namespace

std::optional<double> ParseNumber(std::string_view text, std::string_view decimalSeparator,
                                  std::string_view groupSeparator) {
    std::string cleaned(text);
    for (std::string_view blank : Blanks)
        EraseAll(cleaned, blank);
    if (groupSeparator != decimalSeparator) EraseAll(cleaned, groupSeparator);

    std::string_view s = cleaned;
    bool negative = false;
    if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
        negative = true;
        s = s.substr(1, s.size() - 2);
    }
    if (const auto sign = StartsWithOneOf(s, Signs)) {
        negative = negative != (*sign != "+");
        s.remove_prefix(sign->size());
    }

    // Up to 18 digits are kept; beyond that the digits only move the decimal point.
    constexpr uint64_t KeepBelow = 100'000'000'000'000'000;
    uint64_t mantissa = 0;
    int exponent = 0;
    bool anyDigit = false, afterPoint = false;
    while (!s.empty()) {
        if (!afterPoint && !decimalSeparator.empty() && s.starts_with(decimalSeparator)) {
            afterPoint = true;
            s.remove_prefix(decimalSeparator.size());
            continue;
        }
        const char c = s.front();
        if (c < '0' || c > '9') return std::nullopt;
        anyDigit = true;
        if (mantissa < KeepBelow) {
            mantissa = mantissa * 10 + uint64_t(c - '0');
            if (afterPoint) --exponent;
        } else if (!afterPoint) {
            ++exponent;
        }
        s.remove_prefix(1);
    }
    if (!anyDigit) return std::nullopt;

    double value = double(mantissa);
    value = exponent < 0 ? value / PowerOfTen(-exponent) : value * PowerOfTen(exponent);
    // Some 310 digits overflow; the caller still gets a number to clamp.
    value = std::min(value, std::numeric_limits<double>::max());
    if (value == 0) return 0.0; // never "-0"
    return negative ? -value : value;
}

std::string_view FieldGroupSeparator(std::string_view localeGroupSeparator) {
    if (localeGroupSeparator == "," || localeGroupSeparator == ".") return "\u00A0";
    return localeGroupSeparator;
}

bool IsTypable(std::string_view text, std::string_view decimalSeparator,
               std::string_view groupSeparator) {
    if (const auto sign = StartsWithOneOf(text, Signs)) text.remove_prefix(sign->size());
    int integerDigits = 0;
    bool inFraction = false;
    while (!text.empty()) {
        if (!groupSeparator.empty() && groupSeparator != decimalSeparator &&
            text.starts_with(groupSeparator)) {
            text.remove_prefix(groupSeparator.size());
        } else if (!inFraction && !decimalSeparator.empty() && text.starts_with(decimalSeparator)) {
            inFraction = true;
            text.remove_prefix(decimalSeparator.size());
        } else if (IsDigit(text.front())) {
            if (!inFraction && ++integerDigits > MaxIntegerDigits) return false;
            text.remove_prefix(1);
        } else {
            return false;
        }
    }
    return true;
}

std::optional<std::string> PastedNumber(std::string_view text, std::string_view decimalSeparator) {
    std::string_view s = Trimmed(text);
    bool negative = false;
    if (const auto sign = StartsWithOneOf(s, Signs)) {
        negative = *sign != "+";
        s.remove_prefix(sign->size());
    }

    // The text as digits, points and commas, with each blank run as one ' '.
    std::string marks;
    while (!s.empty()) {
        if (const auto blank = StartsWithOneOf(s, Blanks)) {
            if (!marks.ends_with(' ')) marks += ' ';
            s.remove_prefix(blank->size());
        } else if (IsDigit(s.front()) || s.front() == ',' || s.front() == '.') {
            marks += s.front();
            s.remove_prefix(1);
        } else {
            return std::nullopt;
        }
    }
    const std::size_t lastComma = marks.rfind(','), lastPoint = marks.rfind('.');
    char decimal = 0;
    if (lastComma != std::string::npos && lastPoint != std::string::npos)
        decimal = lastComma > lastPoint ? ',' : '.';
    else if (lastComma != std::string::npos)
        decimal = ',';
    else if (lastPoint != std::string::npos)
        decimal = '.';
    if (decimal != 0 && std::count(marks.begin(), marks.end(), decimal) > 1) return std::nullopt;

    std::string number = negative ? "-" : "";
    bool inFraction = false, anyDigit = false;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const char c = marks[i];
        if (IsDigit(c)) {
            number += c;
            anyDigit = true;
        } else if (c == decimal) {
            inFraction = true;
            number += decimalSeparator;
        } else {
            // A group separator stands between two digits of the whole part.
            const bool betweenDigits =
                i > 0 && i + 1 < marks.size() && IsDigit(marks[i - 1]) && IsDigit(marks[i + 1]);
            if (inFraction || !betweenDigits) return std::nullopt;
        }
    }
    if (!anyDigit) return std::nullopt;
    return number;
}

double TypedValue(std::string_view text, double previous, std::string_view decimalSeparator,
                  std::string_view groupSeparator) {
    if (std::none_of(text.begin(), text.end(), IsDigit)) return 0; // emptied, or a lone sign
    return ParseNumber(text, decimalSeparator, groupSeparator).value_or(previous);
}

FieldRule RuleOf(const NumberFieldSpec& field) {
    return {field.kind, field.limits};
}

namespace {

Limits EffectiveLimits(const FieldRule& rule) {
    return rule.limits.value_or(Limits{-UnlimitedBound, UnlimitedBound});
}

double Rounded(const FieldRule& rule, double value) {
    if (std::isnan(value)) return 0;
    return rule.kind == FieldKind::Integer ? std::round(value) : value; // halves away from zero
}

} // namespace

double BringIntoRange(const FieldRule& rule, double value) {
    const Limits limits = EffectiveLimits(rule);
    value = std::clamp(Rounded(rule, value), limits.min, limits.max);
    return value == 0 ? 0.0 : value;
}

double BringIntoRange(const NumberFieldSpec& field, double value) {
    return BringIntoRange(RuleOf(field), value);
}

bool OutsideLimits(const FieldRule& rule, double value) {
    const Limits limits = EffectiveLimits(rule);
    value = Rounded(rule, value);
    return value < limits.min || value > limits.max;
}

std::optional<ShowMessage> RangeMessage(const NumberFieldSpec& field, double value) {
    if (!field.announcesRangeError || !OutsideLimits(RuleOf(field), value)) return std::nullopt;
    return ShowMessage{std::string(RangeErrorText), std::string(InputErrorCaption)};
}

LeftField LeaveField(const FieldRule& rule, double typed) {
    return {typed, OutsideLimits(rule, typed), BringIntoRange(rule, typed)};
}

LeftField LeaveField(const FieldRule& rule, std::string_view text, double previous,
                     std::string_view decimalSeparator, std::string_view groupSeparator,
                     std::string_view previousText) {
    const bool untouched = !previousText.empty() && text == previousText;
    return LeaveField(
        rule, untouched ? previous : TypedValue(text, previous, decimalSeparator, groupSeparator));
}

std::optional<std::string> RoundingNote(const FieldRule& rule, const LeftField& left,
                                        std::string_view shownValue) {
    if (rule.kind != FieldKind::Integer || left.outsideLimits || !std::isfinite(left.typed) ||
        left.typed == std::round(left.typed))
        return std::nullopt;
    return "округлено: " + std::string(shownValue);
}

int32_t ToInt32(double value) {
    constexpr double Highest = std::numeric_limits<int32_t>::max();
    constexpr double Lowest = std::numeric_limits<int32_t>::min();
    if (std::isnan(value)) return 0;
    if (value >= Highest) return std::numeric_limits<int32_t>::max();
    if (value <= Lowest) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value); // truncates toward zero
}

} // namespace workflow
