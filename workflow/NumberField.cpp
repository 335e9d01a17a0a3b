#include "NumberField.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace workflow {

namespace {

constexpr std::string_view RangeErrorText = "Диапазон температур предусмотрен от -40 до +50 °С";

// Blanks that a locale may put between digit groups: space, no-break space, narrow
// no-break space (UTF-8).
constexpr std::array<std::string_view, 3> Blanks = {" ", "\u00A0", "\u202F"};

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
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = negative != (s.front() == '-');
        s.remove_prefix(1);
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
    if (value == 0) return 0.0; // never "-0"
    return negative ? -value : value;
}

Limits EffectiveLimits(const NumberFieldSpec& field) {
    return field.limits.value_or(Limits{-UnlimitedBound, UnlimitedBound});
}

double BringIntoRange(const NumberFieldSpec& field, double value) {
    if (std::isnan(value)) value = 0;
    if (field.kind == FieldKind::Integer) value = std::trunc(value);
    const Limits limits = EffectiveLimits(field);
    value = std::clamp(value, limits.min, limits.max);
    return value == 0 ? 0.0 : value;
}

std::optional<ShowMessage> RangeMessage(const NumberFieldSpec& field, double value) {
    if (!field.announcesRangeError || !field.limits || std::isnan(value)) return std::nullopt;
    if (field.kind == FieldKind::Integer) value = std::trunc(value);
    if (value >= field.limits->min && value <= field.limits->max) return std::nullopt;
    return ShowMessage{std::string(RangeErrorText), std::string(InputErrorCaption)};
}

LeftField LeaveField(const NumberFieldSpec& field, std::string_view text,
                     std::string_view decimalSeparator, std::string_view groupSeparator) {
    const double typed = ParseNumber(text, decimalSeparator, groupSeparator).value_or(0);
    return {RangeMessage(field, typed), BringIntoRange(field, typed)};
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
