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

// How the accepted thickness stands against the kind's requirement.
enum class CheckState {
    Met,
    // Short of it, but only because the method's thickness was rounded down by no more than
    // the norm allows for its kind, and the next product thickness meets it.
    WithinAllowance,
    NotMet,
    // Thicker than any product: no product gives it, met or not.
    BeyondProducts,
};

struct AcceptedCheck {
    int32_t acceptedMm = 0;
    CheckFigure checked;  // what the requirement is about
    CheckFigure required; // its symbol names the requirement in the line: "норма"
    std::vector<CheckFigure> more;
    // At a single thickness Met or NotMet; the calculate command then judges the rounding.
    CheckState state = CheckState::NotMet;
    // When not met: the smallest product thickness that meets; none up to the largest shown.
    std::optional<int32_t> meetingMm = std::nullopt;
    double requiredMm = 0; // the method's thickness as a product thickness, before rounding
    // The requirement as the product of these, when it is one: норма 70,0 × K 0,98.
    std::vector<CheckFigure> factors = {};
    bool operator==(const AcceptedCheck&) const = default;
};

inline constexpr std::string_view CheckHeading = "Проверка при принятой толщине";
inline constexpr std::string_view RequiredLabel = "Расчётная толщина изоляции, мм";
inline constexpr std::string_view VerdictLabel = "Требование";

// The thickest product, in millimetres; a thicker result is no product's.
inline constexpr int32_t LargestProductThickness = 1000;
// The product thicknesses go in steps of this many millimetres.
inline constexpr int32_t ProductStepMm = 10;

struct CalcKind;
// The state of the accepted thickness of a calculation of `kind`: from whether it meets at
// that thickness, the method's thickness as a product thickness and the smallest thickness
// that meets. The rounding allowance of the norm covers the kinds that have it.
CheckState JudgeCheck(const CalcKind& kind, bool metAtAccepted, int32_t acceptedMm,
                      double requiredMm, std::optional<int32_t> meetingMm);
// A state that the user must act on: drawn in the accent colour.
bool CheckAccented(CheckState state);

// A number with that many decimals, rounded, with the given separator whatever the C
// library's locale, no grouping and no "-0"; trailing zeros dropped on request. Empty for a
// value that is not finite.
std::string DecimalText(double value, int decimals, std::string_view decimalSeparator,
                        bool dropTrailingZeros = false);

// "Принято 40 мм: q = 41,3 Вт/м (норма 45,0), tпов = 27,4 °С — обеспечено"
std::string CheckLine(const AcceptedCheck& check, std::string_view decimalSeparator);
// "q = 41,3 Вт/м (норма 45,0), tпов = 27,4 °С"
std::string CheckFigures(const AcceptedCheck& check, std::string_view decimalSeparator);
// "обеспечено", "в пределах допуска 3 мм (СП 61.13330.2012, п. 6.12); с запасом — 50 мм",
// "не обеспечено; требуется 50 мм" or "толщина вне сортамента изделий"
std::string CheckVerdict(const AcceptedCheck& check);
std::string CheckVerdict(CheckState state, std::optional<int32_t> meetingMm);
// The figure's value with its decimals: "41,3"
std::string FigureValue(const CheckFigure& figure, std::string_view decimalSeparator);
// The requirement's value, with its factors when it has them: "70,0 × 0,98 = 68,6"
std::string RequiredValue(const AcceptedCheck& check, std::string_view decimalSeparator);
// The method's thickness as a product thickness, one decimal: "47,2"
std::string RequiredThickness(const AcceptedCheck& check, std::string_view decimalSeparator);
// The report's label of a figure: "Плотность теплового потока, Вт/м"
std::string FigureLabel(const CheckFigure& figure);

} // namespace workflow
