#include "AcceptedCheck.h"

#include "CalculateCommand.h"

#include <charconv>
#include <cmath>

namespace workflow {

std::string DecimalText(double value, int decimals, std::string_view decimalSeparator,
                        bool dropTrailingZeros) {
    if (!std::isfinite(value)) return {};
    char digits[400]; // the longest double in fixed notation with a few decimals fits
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return {};
    std::string text(digits, end);
    if (dropTrailingZeros && text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, decimalSeparator);
    return text;
}

std::string FigureValue(const CheckFigure& figure, std::string_view decimalSeparator) {
    const std::string text = DecimalText(figure.value, figure.decimals, decimalSeparator);
    return text.empty() ? "—" : text;
}

std::string FigureLabel(const CheckFigure& figure) {
    return std::string(figure.name) + ", " + std::string(figure.unit);
}

std::string CheckVerdict(bool met, std::optional<int32_t> meetingMm) {
    if (met) return "обеспечено";
    if (!meetingMm)
        return "не обеспечено; требуется " + std::string(BeyondLargestThickness) + " мм";
    return "не обеспечено; требуется " + std::to_string(*meetingMm) + " мм";
}

std::string CheckVerdict(const AcceptedCheck& check) {
    return CheckVerdict(check.met, check.meetingMm);
}

std::string CheckFigures(const AcceptedCheck& check, std::string_view decimalSeparator) {
    auto shown = [&](const CheckFigure& f) {
        return std::string(f.symbol) + " = " + FigureValue(f, decimalSeparator) + " " +
               std::string(f.unit);
    };
    std::string figures = shown(check.checked) + " (" + std::string(check.required.symbol) + " " +
                          FigureValue(check.required, decimalSeparator) + ")";
    for (const CheckFigure& figure : check.more)
        if (figure.inLine) figures += ", " + shown(figure);
    return figures;
}

std::string CheckLine(const AcceptedCheck& check, std::string_view decimalSeparator) {
    return "Принято " + std::to_string(check.acceptedMm) +
           " мм: " + CheckFigures(check, decimalSeparator) + " — " + CheckVerdict(check);
}

} // namespace workflow
