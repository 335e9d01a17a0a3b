// The rules of a number field, the same for the window and for plain callers: what may be
// typed, how a pasted text is read, what the field takes when the user leaves it, and how
// an integer field's value is handed on as 32 bits.
#pragma once

#include "Effects.h"
#include "InputModel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace workflow {

// Fields without limits still stop here, so that nothing downstream can overflow. Typing
// goes one digit past it, so that the million itself can be typed and a larger number is
// brought to it when the field is left.
inline constexpr double UnlimitedBound = 1'000'000;
inline constexpr int MaxIntegerDigits = 7;

// Whole numbers or decimals, and the limits that apply when the user leaves the field.
struct FieldRule {
    FieldKind kind;
    std::optional<Limits> limits;
};
FieldRule RuleOf(const NumberFieldSpec& field);

// The number in a field's text, with the locale's decimal and group separators. Blanks
// and group separators are ignored, "-" or parentheses make it negative. Empty text, or
// text that is no number, gives none.
std::optional<double> ParseNumber(std::string_view text, std::string_view decimalSeparator,
                                  std::string_view groupSeparator);

// The group separator a field shows and reads: the locale's, unless a reader would take it
// for a decimal separator ("," or "." as in the C locale), then a no-break space. Either
// of those typed into a field is its decimal separator.
std::string_view FieldGroupSeparator(std::string_view localeGroupSeparator);

// Whether text may stand in a field while the user types: a sign only in front, at most
// MaxIntegerDigits digits before the one decimal separator, group separators as the field
// shows them. An integer field takes a fraction too and rounds it when it is left.
bool IsTypable(std::string_view text, std::string_view decimalSeparator,
               std::string_view groupSeparator);

// A pasted text as the field takes it, written with the locale's decimal separator and
// without grouping: blanks and line breaks around it are trimmed, blanks between digits
// are group separators, and when only one of "," and "." occurs it is the decimal one
// (when both do, the last one is). None when what is left is no number.
std::optional<std::string> PastedNumber(std::string_view text, std::string_view decimalSeparator);

// The number the user left in the field: text without a digit counts as 0 (an emptied
// field), text that is no number leaves the field its `previous` value.
double TypedValue(std::string_view text, double previous, std::string_view decimalSeparator,
                  std::string_view groupSeparator);

// An integer field rounds half away from zero; then a value below the lower limit becomes
// the lower limit, above the upper the upper (no limits: +-UnlimitedBound). Not a number
// counts as 0.
double BringIntoRange(const FieldRule& rule, double value);
double BringIntoRange(const NumberFieldSpec& field, double value);
// Whether BringIntoRange moves the (rounded) value to a limit.
bool OutsideLimits(const FieldRule& rule, double value);

// The message that leaving the field with this value shows before the limit applies;
// only the air temperature of the condensation page has one.
std::optional<ShowMessage> RangeMessage(const NumberFieldSpec& field, double value);

// Leaving a field: the number typed (TypedValue of its text; the `previous` value itself
// while the text is still `previousText`, as the field showed that value, whose pattern may
// hide some of its digits); whether that number, rounded, lies beyond the limits, which the
// field's range hook hears of (RangeMessage) before the limit applies; and the value the
// field takes.
struct LeftField {
    double typed;
    bool outsideLimits;
    double value;
};
LeftField LeaveField(const FieldRule& rule, std::string_view text, double previous,
                     std::string_view decimalSeparator, std::string_view groupSeparator,
                     std::string_view previousText = {});
// The same for a number already read.
LeftField LeaveField(const FieldRule& rule, double typed);

// An integer field left with a fraction rounds it silently no more: the field says so for a
// moment beside it, «округлено: -7», with the value as it shows it. None when the number was
// whole, or when a limit took its place (the limit is what the user sees then).
std::optional<std::string> RoundingNote(const FieldRule& rule, const LeftField& left,
                                        std::string_view shownValue);

// An integer field's value as the engine receives it: truncated toward zero, saturated
// at the ends of the 32-bit range, 0 for not a number.
int32_t ToInt32(double value);

} // namespace workflow
