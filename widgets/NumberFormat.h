// Display patterns of number fields.
#pragma once

#include <QString>
#include <QStringView>

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
