// The result that the window shows and the inputs it was computed from, so that a
// thickness is never shown or printed beside inputs it does not belong to.
#pragma once

#include "Effects.h"
#include "InputModel.h"

#include <optional>
#include <span>
#include <string>

namespace workflow {

// Whether the inputs that kind `method` reads hold the same values in both sets.
bool SameInputsOfKind(int method, const Inputs& a, const Inputs& b);

// What the result text shows before any calculation of the chosen kind.
inline constexpr std::string_view NothingComputedText = "0";

class ShownResult {
public:
    // A kind is chosen: the result text reads "0" and nothing is computed for it yet.
    void KindChosen(int method);
    // The calculate command ran on `inputs` and gave `effects`; the fields it set (the
    // raised humidity) are taken as set, and the outputs it wrote are recorded.
    void Calculated(int method, const Inputs& inputs, std::span<const Effect> effects);

    // What the result text RzLabel4 shows.
    const std::string& Text() const { return text_; }
    // A thickness has been computed since the kind was chosen (it may be stale).
    bool HasThickness() const { return thicknessFrom_.has_value(); }
    // The shown thickness was computed from exactly what the kind's inputs hold now.
    bool ThicknessIsCurrent(const Inputs& now) const;

    // What the accepted thickness gives, while the thickness is current; nullptr otherwise.
    const AcceptedCheck* CurrentCheck(const Inputs& now) const;
    // The warning box shown before the last thickness; empty for none.
    const std::string& Warning() const { return warning_; }

    // The norm density field of the norm-flux kind keeps its value across kinds.
    bool HasNorm() const { return normFrom_.has_value(); }
    bool NormIsCurrent(const Inputs& now) const;

private:
    int method_ = -1;
    std::string text_{NothingComputedText};
    std::optional<Inputs> thicknessFrom_;
    std::optional<AcceptedCheck> check_; // of the thickness; cleared by a rejected calculation
    std::string warning_;                // with the check
    std::optional<Inputs> normFrom_;
};

// The text a report prints where no thickness belongs to the printed inputs.
inline constexpr std::string_view NoResultText = "—";
inline constexpr std::string_view NoResultLine =
    "Расчёт для приведённых исходных данных не выполнен";
// The tooltip of a result whose inputs have changed since it was computed.
inline constexpr std::string_view StaleResultHint =
    "Исходные данные изменены после расчёта — нажмите «Рассчитать»";

} // namespace workflow
