#include "AcceptedCheck.h"

#include "CalculateCommand.h"

#include <cmath>
#include <cstdio>

namespace workflow {

std::string FigureValue(const CheckFigure& figure, std::string_view decimalSeparator) {
    if (!std::isfinite(figure.value)) return "—";
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.*f", figure.decimals, figure.value);
    std::string text = digits;
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, decimalSeparator);
    return text;
}

std::string FigureLabel(const CheckFigure& figure) {
    return std::string(figure.name) + ", " + std::string(figure.unit);
}

std::string CheckVerdict(const AcceptedCheck& check) {
    if (check.met) return "обеспечено";
    if (!check.meetingMm)
        return "не обеспечено; требуется " + std::string(BeyondLargestThickness) + " мм";
    return "не обеспечено; требуется " + std::to_string(*check.meetingMm) + " мм";
}

std::string CheckLine(const AcceptedCheck& check, std::string_view decimalSeparator) {
    auto shown = [&](const CheckFigure& f) {
        return std::string(f.symbol) + " = " + FigureValue(f, decimalSeparator) + " " +
               std::string(f.unit);
    };
    std::string line = "Принято " + std::to_string(check.acceptedMm) +
                       " мм: " + shown(check.checked) + " (" + std::string(check.required.symbol) +
                       " " + FigureValue(check.required, decimalSeparator) + ")";
    for (const CheckFigure& figure : check.more)
        if (figure.inLine) line += ", " + shown(figure);
    return line + " — " + CheckVerdict(check);
}

} // namespace workflow
