// Display patterns of number fields, and reading a field's text back into a number.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Formats a value through a display pattern:
//   ","  thousands are grouped (wherever it stands)
//   "0"  a required digit, "#" an optional one
//   "."  the first is the decimal separator, any further one has no effect
//   ";"  the part after it is used for negative numbers, without a minus of its own
//   anything else is shown as it stands, before or after the number
// The fraction is rounded half away from zero; a negative value that rounds to zero is
// shown as zero. An empty pattern shows the value as it is, without grouping.
QString FormatPattern(double value, QStringView pattern, QStringView decimalSep,
                      QStringView groupSep);

// Whether text may stand in a number field while the user types: an optional sign,
// at most 7 digits before the decimal separator, the separator and fraction digits
// only when decimals are allowed. Group separators are tolerated because the field
// shows its pattern on entry.
bool IsTypableNumber(QStringView text, bool decimals, QStringView decimalSep, QStringView groupSep);

// Reads a number written with the given separators, also one in parentheses as a
// negative pattern shows it. Empty or malformed text gives no value.
std::optional<double> ParseNumber(QStringView text, QStringView decimalSep, QStringView groupSep);
