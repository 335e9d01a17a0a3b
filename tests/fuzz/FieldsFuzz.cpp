// Feeds the number-field text rules arbitrary bytes as a field's text, with the separators
// of several locales, and checks what every caller relies on: a parsed number is finite,
// what a paste gives is read back, and a left field holds a whole or real value within its
// limits. A broken rule aborts.
#include "NumberField.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <string_view>

using namespace workflow;

namespace {

// Decimal separators that locales use, and the group separators they pair them with;
// the empty group stands for a locale without grouping.
constexpr std::array<std::string_view, 3> Decimals = {",", ".", "\u066B"};
constexpr std::array<std::string_view, 8> Groups = {"\u00A0", "\u202F", " ",      ".",
                                                    ",",      "'",      "\u066C", ""};

void Check(bool holds) {
    if (!holds) std::abort();
}

bool HasDigit(std::string_view s) {
    return s.find_first_of("0123456789") != std::string_view::npos;
}

int IntegerDigits(std::string_view s, std::string_view decimal) {
    s = s.substr(0, s.find(decimal));
    int n = 0;
    for (char c : s)
        n += c >= '0' && c <= '9';
    return n;
}

void CheckParsed(std::optional<double> value) {
    if (!value) return;
    Check(std::isfinite(*value));
    Check(*value != 0 || !std::signbit(*value));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string_view decimal = in.PickValueInArray(Decimals);
    const std::string_view group = in.PickValueInArray(Groups);
    const bool anyPrevious = in.ConsumeBool();
    const double oddPrevious = std::bit_cast<double>(in.ConsumeIntegral<uint64_t>());
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::optional<double> parsed = ParseNumber(text, decimal, group);
    CheckParsed(parsed);

    if (IsTypable(text, decimal, group) && HasDigit(text)) {
        // What the field lets the user type is a number of at most MaxIntegerDigits whole
        // digits, which leaving brings within the field's million.
        Check(parsed.has_value());
        Check(std::abs(*parsed) < std::pow(10.0, MaxIntegerDigits));
    }

    if (const std::optional<std::string> pasted = PastedNumber(text, decimal)) {
        // Written in the locale's notation without grouping: it reads back in any grouping,
        // and the field takes it unless it is longer than typing allows.
        Check(HasDigit(*pasted));
        const std::optional<double> back = ParseNumber(*pasted, decimal, group);
        Check(back.has_value());
        CheckParsed(back);
        Check(IntegerDigits(*pasted, decimal) > MaxIntegerDigits ||
              IsTypable(*pasted, decimal, group));
    }

    for (const NumberFieldSpec& field : NumberFields()) {
        const double previous = anyPrevious ? oddPrevious : field.defaultValue;
        const double typed = TypedValue(text, previous, decimal, group);
        if (std::isfinite(previous)) Check(std::isfinite(typed));

        const LeftField left = LeaveField(RuleOf(field), text, previous, decimal, group);
        Check(std::isnan(typed) ? std::isnan(left.typed) : left.typed == typed);
        const Limits limits = field.limits.value_or(Limits{-UnlimitedBound, UnlimitedBound});
        Check(std::isfinite(left.value));
        Check(left.value >= limits.min && left.value <= limits.max);
        Check(left.value != 0 || !std::signbit(left.value));
        Check(BringIntoRange(field, left.value) == left.value); // leaving again changes nothing
        if (field.kind == FieldKind::Integer) {
            Check(left.value == std::round(left.value));
            Check(double(ToInt32(left.value)) == left.value); // reaches the engine unchanged
        }
        Check(!RangeMessage(field, left.typed) || left.outsideLimits);
    }
    return 0;
}
