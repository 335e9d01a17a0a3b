#include "Placeholders.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>

namespace reportengine {

QString NumberText(double value, const QLocale& locale) {
    if (!std::isfinite(value)) return {};
    if (value == 0) return QStringLiteral("0");
    // Fifteen significant digits, as the general form keeps, written out in full.
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(14 - exponent, 0, 400);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    if (text == QLatin1String("-0")) return QStringLiteral("0");
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    if (text.startsWith(QLatin1Char('-'))) text.replace(0, 1, locale.negativeSign());
    return text;
}

QString EvaluateText(const QString& expression, const QLocale& locale) {
    const QString text = expression.trimmed();
    const QChar quote = QLatin1Char('\'');
    if (text.size() >= 2 && text.front() == quote && text.back() == quote)
        return text.mid(1, text.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]+)?$"));
    if (number.match(text).hasMatch()) return NumberText(text.toDouble(), locale);
    return expression;
}

QString ValueText(const Value& value, const QLocale& locale) {
    if (const auto* text = std::get_if<QString>(&value)) return EvaluateText(*text, locale);
    if (const auto* number = std::get_if<double>(&value)) return NumberText(*number, locale);
    return {};
}

namespace {

// The text of one expression, or nothing when it names nothing known.
std::optional<QString> ExpressionText(const QString& expression, const Template& report,
                                      const PrepareContext& context) {
    const QString name = expression.trimmed();
    if (name == QLatin1String("Date"))
        return context.locale.toString(context.date, QLocale::ShortFormat);
    const int index = report.IndexOf(name);
    if (index < 0 || report.variables[index].isCategory) return std::nullopt;
    return ValueText(report.variables[index].value, context.locale);
}

} // namespace

QString ExpandPlaceholders(const QString& text, const Template& report,
                           const PrepareContext& context) {
    QString result;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('['), from);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char(']'), open + 1);
        if (close < 0) break;
        result += text.mid(from, open - from);
        const QString expression = text.mid(open + 1, close - open - 1);
        result +=
            ExpressionText(expression, report, context).value_or(text.mid(open, close - open + 1));
        from = close + 1;
    }
    result += text.mid(from);
    return result;
}

} // namespace reportengine
