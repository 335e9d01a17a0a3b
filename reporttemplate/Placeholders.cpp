#include "Placeholders.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace reporttemplate {

std::string NumberText(double value, const Formats& formats) {
    if (!std::isfinite(value)) return {};
    if (value == 0) return "0";
    // Fifteen significant digits, as the general form keeps, written out in full.
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(14 - exponent, 0, 400);
    // to_chars, not printf: its point is no locale's, whatever the process runs under.
    char digits[800]; // 309 digits of the largest double and 400 decimals fit
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return {};
    std::string text(digits, end);
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") return "0";
    if (point != std::string::npos && point < text.size())
        text.replace(point, 1, formats.decimalPoint);
    if (text.front() == '-') text.replace(0, 1, formats.negativeSign);
    return text;
}

namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\n\r\f\v";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Digits with an optional sign and an optional fraction, as a template writes a number.
bool IsDecimal(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    const std::size_t point = text.find('.');
    auto digits = [](std::string_view part) {
        return !part.empty() &&
               std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (point == std::string_view::npos) return digits(text);
    return digits(text.substr(0, point)) && digits(text.substr(point + 1));
}

} // namespace

std::string EvaluateText(std::string_view expression, const Formats& formats) {
    const std::string_view text = Trimmed(expression);
    if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'') {
        std::string inner;
        const std::string_view quoted = text.substr(1, text.size() - 2);
        for (std::size_t i = 0; i < quoted.size(); ++i) {
            inner += quoted[i];
            if (quoted[i] == '\'' && i + 1 < quoted.size() && quoted[i + 1] == '\'') ++i;
        }
        return inner;
    }
    if (IsDecimal(text)) {
        // from_chars reads the C format whatever the process's locale; it takes no '+'.
        const std::string_view digits = text.front() == '+' ? text.substr(1) : text;
        double number = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
        return NumberText(number, formats);
    }
    return std::string(expression);
}

std::string ValueText(const Value& value, const Formats& formats) {
    if (const auto* text = std::get_if<std::string>(&value)) return EvaluateText(*text, formats);
    if (const auto* number = std::get_if<double>(&value)) return NumberText(*number, formats);
    return {};
}

namespace {

// The text of one expression, or nothing when it names nothing known.
std::optional<std::string> ExpressionText(std::string_view expression, const Template& report,
                                          const Formats& formats) {
    const std::string_view name = Trimmed(expression);
    if (name == "Date") return formats.date;
    const int index = report.IndexOf(name);
    if (index < 0 || report.variables[std::size_t(index)].isCategory) return std::nullopt;
    return ValueText(report.variables[std::size_t(index)].value, formats);
}

} // namespace

std::string ExpandPlaceholders(std::string_view text, const Template& report,
                               const Formats& formats) {
    std::string result;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t open = text.find('[', from);
        const std::size_t close = open == std::string_view::npos ? open : text.find(']', open + 1);
        if (close == std::string_view::npos) break;
        result += text.substr(from, open - from);
        const std::string_view expression = text.substr(open + 1, close - open - 1);
        result += ExpressionText(expression, report, formats)
                      .value_or(std::string(text.substr(open, close - open + 1)));
        from = close + 1;
    }
    result += text.substr(from);
    return result;
}

std::vector<FilledBox> PrintedBoxes(const Template& report, const Formats& formats) {
    std::vector<FilledBox> boxes;
    for (const TextBox& box : report.page.boxes)
        if (box.visible)
            boxes.push_back({box.name, box.geometry, box.font, box.background,
                             ExpandPlaceholders(box.text, report, formats)});
    return boxes;
}

} // namespace reporttemplate
