#include "AcceptedCheck.h"

#include "CalcKinds.h"
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

CheckState JudgeCheck(const CalcKind& kind, bool metAtAccepted, int32_t acceptedMm,
                      double requiredMm, std::optional<int32_t> meetingMm) {
    if (acceptedMm > LargestProductThickness) return CheckState::BeyondProducts;
    if (metAtAccepted) return CheckState::Met;
    // Rounded down by no more than the allowance, up to the rounding of the arithmetic.
    const double roundedDownBy = requiredMm - acceptedMm;
    const bool roundedDown =
        roundedDownBy > 0 && roundedDownBy <= T_calc::RoundingDownMm * (1 + 1e-9);
    if (kind.roundingAllowance && roundedDown && meetingMm == acceptedMm + ProductStepMm)
        return CheckState::WithinAllowance;
    return CheckState::NotMet;
}

bool CheckAccented(CheckState state) {
    return state == CheckState::NotMet || state == CheckState::BeyondProducts;
}

std::string CheckVerdict(CheckState state, std::optional<int32_t> meetingMm) {
    const std::string meeting =
        meetingMm ? std::to_string(*meetingMm) : std::string(BeyondLargestThickness);
    switch (state) {
    case CheckState::Met:
        return "обеспечено";
    case CheckState::WithinAllowance:
        return "в пределах допуска 3 мм (СП 61.13330.2012, п. 6.12); с запасом — " + meeting +
               " мм";
    case CheckState::BeyondProducts:
        return "толщина вне сортамента изделий";
    case CheckState::NotMet:
        break;
    }
    // No product is as thick as the thickness that meets.
    const bool beyond = !meetingMm || *meetingMm > LargestProductThickness;
    return "не обеспечено; требуется " + meeting + " мм" +
           (beyond ? ", толщина вне сортамента изделий" : "");
}

std::string CheckVerdict(const AcceptedCheck& check) {
    return CheckVerdict(check.state, check.meetingMm);
}

std::string RequiredValue(const AcceptedCheck& check, std::string_view decimalSeparator) {
    std::string text;
    for (const CheckFigure& factor : check.factors)
        text += (text.empty() ? "" : " × ") + FigureValue(factor, decimalSeparator);
    return (text.empty() ? "" : text + " = ") + FigureValue(check.required, decimalSeparator);
}

std::string RequiredThickness(const AcceptedCheck& check, std::string_view decimalSeparator) {
    const std::string text = DecimalText(check.requiredMm, 1, decimalSeparator);
    return text.empty() ? "—" : text;
}

std::string CheckFigures(const AcceptedCheck& check, std::string_view decimalSeparator) {
    auto shown = [&](const CheckFigure& f) {
        return std::string(f.symbol) + " = " + FigureValue(f, decimalSeparator) + " " +
               std::string(f.unit);
    };
    // "(норма 68,6)", or with its factors "(норма 70,0 × K 0,98 = 68,6)"
    std::string requirement;
    for (const CheckFigure& factor : check.factors)
        requirement += (requirement.empty() ? "" : " × ") + std::string(factor.symbol) + " " +
                       FigureValue(factor, decimalSeparator);
    requirement =
        requirement.empty() ? std::string(check.required.symbol) + " " : requirement + " = ";
    std::string figures = shown(check.checked) + " (" + requirement +
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
