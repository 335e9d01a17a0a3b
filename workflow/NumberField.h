// The rules of a number field: reading the typed text, bringing the value into range when
// the user leaves the field, and handing an integer field's value on as 32 bits.
#pragma once

#include "Effects.h"
#include "InputModel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace workflow {

// Fields without limits still stop here, so that nothing downstream can overflow.
inline constexpr double UnlimitedBound = 1'000'000;

// The number in a field's text, with the locale's decimal and group separators. Blanks
// and group separators are ignored, "-" or parentheses make it negative. Empty text, or
// text that is no number, gives none.
std::optional<double> ParseNumber(std::string_view text, std::string_view decimalSeparator,
                                  std::string_view groupSeparator);

// The field's own limits, or +-UnlimitedBound.
Limits EffectiveLimits(const NumberFieldSpec& field);

// A value below the lower limit becomes the lower limit, above the upper the upper; an
// integer field keeps the whole part. Not a number counts as 0.
double BringIntoRange(const NumberFieldSpec& field, double value);

// The message that leaving the field with this value shows before the limit applies;
// only the air temperature of the condensation page has one.
std::optional<ShowMessage> RangeMessage(const NumberFieldSpec& field, double value);

// Leaving a field with the text typed into it: an empty field counts as 0, then the range
// message (if any), then the value the field takes.
struct LeftField {
    std::optional<ShowMessage> message;
    double value;
};
LeftField LeaveField(const NumberFieldSpec& field, std::string_view text,
                     std::string_view decimalSeparator, std::string_view groupSeparator);

// An integer field's value as the engine receives it: truncated toward zero, saturated
// at the ends of the 32-bit range, 0 for not a number.
int32_t ToInt32(double value);

} // namespace workflow
