// How a box's text becomes the printed text: every "[expression]" is replaced by the text
// of its value. An expression is `Date` or the name of a variable of the template.
#pragma once

#include "Template.h"

#include <string>
#include <string_view>
#include <vector>

namespace reporttemplate {

// What a filled report depends on besides the template: the day and the user's formats.
// The defaults are the program's own, Russian.
struct Formats {
    std::string date;               // the day as the user writes it, e.g. "05.03.2024"
    std::string decimalPoint = ","; // UTF-8
    std::string negativeSign = "-";
};

// A number in general form: up to 15 significant digits, never an exponent, no trailing
// zeros, the given decimal separator and no digit grouping. Not-a-number prints nothing.
std::string NumberText(double value, const Formats& formats);

// A text value is itself an expression: 'text in apostrophes' yields the text between them,
// a decimal number yields that number in general form; any other text prints as it stands.
std::string EvaluateText(std::string_view expression, const Formats& formats);

// The printed text of a variable's value; a variable without a value prints nothing.
std::string ValueText(const Value& value, const Formats& formats);

// An expression that names neither `Date` nor a variable stays as it is written, so that a
// misspelt name shows on the page instead of vanishing.
std::string ExpandPlaceholders(std::string_view text, const Template& report,
                               const Formats& formats);

// A box as printed: its template's geometry, font and colours, its placeholders replaced.
struct FilledBox {
    std::string name;
    Rect geometry;
    FontSpec font;
    std::optional<Rgb> background;
    std::string text;
};

// The visible boxes of a template, in its order, with their final texts; the hidden ones
// (a diameter row of a plane, the no-result line beside a current thickness) are left out.
std::vector<FilledBox> PrintedBoxes(const Template& report, const Formats& formats);

} // namespace reporttemplate
