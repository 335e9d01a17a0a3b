// How a box's text becomes the printed text: every "[expression]" is replaced by the text
// of its value. An expression is `Date` or the name of a variable of the template.
#pragma once

#include "Template.h"

#include <QDate>
#include <QLocale>

namespace reportengine {

// What a prepared report depends on besides the template: the day and the user's formats.
struct PrepareContext {
    QDate date = QDate::currentDate();
    QLocale locale;
};

// A number in general form: up to 15 significant digits, never an exponent, no trailing
// zeros, the locale's decimal separator and no digit grouping. Not-a-number prints nothing.
QString NumberText(double value, const QLocale& locale);

// A text value is itself an expression: 'text in apostrophes' yields the text between them,
// a decimal number yields that number in general form; any other text prints as it stands.
QString EvaluateText(const QString& expression, const QLocale& locale);

// The printed text of a variable's value; a variable without a value prints nothing.
QString ValueText(const Value& value, const QLocale& locale);

// An expression that names neither `Date` nor a variable stays as it is written, so that a
// misspelt name shows on the page instead of vanishing.
QString ExpandPlaceholders(const QString& text, const Template& report,
                           const PrepareContext& context);

} // namespace reportengine
