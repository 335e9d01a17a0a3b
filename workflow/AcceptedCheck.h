// What the accepted product thickness gives: the figure that the kind's requirement is
// about, the requirement itself, further figures, and, when it falls short, the smallest
// product thickness that meets it. Shown in the window's status strip and printed below
// the result of the report.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace workflow {

struct CheckFigure {
    std::string_view symbol; // in the status line: "q", "tпов"
    std::string_view name;   // in the report, before the unit
    std::string_view unit;   // "Вт/м", "°С"
    double value = 0;
    int decimals = 1;
    bool inLine = true; // also in the status line
    bool operator==(const CheckFigure&) const = default;
};

struct AcceptedCheck {
    int32_t acceptedMm = 0;
    CheckFigure checked;  // what the requirement is about
    CheckFigure required; // its symbol names the requirement in the line: "норма"
    std::vector<CheckFigure> more;
    bool met = false;
    // When not met: the smallest product thickness that meets; none up to the largest shown.
    std::optional<int32_t> meetingMm = std::nullopt;
    double requiredMm = 0; // the method's thickness as a product thickness, before rounding
    bool operator==(const AcceptedCheck&) const = default;
};

inline constexpr std::string_view CheckHeading = "Проверка при принятой толщине";
inline constexpr std::string_view AcceptedLabel = "Принятая толщина изоляции, мм";
inline constexpr std::string_view VerdictLabel = "Требование";

// A number with that many decimals, rounded, with the given separator whatever the C
// library's locale, no grouping and no "-0"; trailing zeros dropped on request. Empty for a
// value that is not finite.
std::string DecimalText(double value, int decimals, std::string_view decimalSeparator,
                        bool dropTrailingZeros = false);

// "Принято 40 мм: q = 41,3 Вт/м (норма 45,0), tпов = 27,4 °С — обеспечено"
std::string CheckLine(const AcceptedCheck& check, std::string_view decimalSeparator);
// "q = 41,3 Вт/м (норма 45,0), tпов = 27,4 °С"
std::string CheckFigures(const AcceptedCheck& check, std::string_view decimalSeparator);
// "обеспечено", or "не обеспечено; требуется 50 мм"
std::string CheckVerdict(const AcceptedCheck& check);
std::string CheckVerdict(bool met, std::optional<int32_t> meetingMm);
// The figure's value with its decimals: "41,3"
std::string FigureValue(const CheckFigure& figure, std::string_view decimalSeparator);
// The report's label of a figure: "Плотность теплового потока, Вт/м"
std::string FigureLabel(const CheckFigure& figure);

} // namespace workflow
