#include "ShownResult.h"

#include "CalcKinds.h"

#include <utility>
#include <variant>

namespace workflow {

namespace {

constexpr Control NormField = Control::RzNumericEdit3;
constexpr int NormFluxMethod = 0;

} // namespace

bool SameInputsOfKind(int method, const Inputs& a, const Inputs& b) {
    for (Control input : InputsReadBy(method)) {
        if (input == MaterialListControl) {
            if (a.materialValue != b.materialValue) return false;
        } else if (IsChoice(input)) {
            if (a.Choice(input) != b.Choice(input)) return false;
        } else if (a.Field(input) != b.Field(input)) {
            return false;
        }
    }
    return true;
}

void ShownResult::KindChosen(int method) {
    method_ = method;
    text_ = std::string(NothingComputedText);
    thicknessFrom_.reset();
    check_.reset();
    warning_.clear();
}

void ShownResult::Calculated(int method, const Inputs& inputs, std::span<const Effect> effects) {
    Inputs after = inputs;
    bool thickness = false, norm = false;
    std::optional<AcceptedCheck> check;
    std::string warning;
    for (const Effect& effect : effects) {
        if (const auto* set = std::get_if<SetField>(&effect)) {
            after.Field(set->field) = set->value;
            norm = norm || set->field == NormField;
        } else if (const auto* box = std::get_if<ShowMessage>(&effect)) {
            warning = box->text; // a box before a thickness is a warning
        } else if (const auto* result = std::get_if<SetResult>(&effect)) {
            text_ = result->text;
            thickness = true;
        } else if (const auto* shown = std::get_if<ShowCheck>(&effect)) {
            check = shown->check;
        }
    }
    method_ = method;
    check_ = std::move(check); // a rejected calculation leaves none
    warning_ = check_ ? std::move(warning) : std::string();
    if (thickness) thicknessFrom_ = after;
    if (norm) normFrom_ = after;
}

bool ShownResult::ThicknessIsCurrent(const Inputs& now) const {
    return thicknessFrom_ && SameInputsOfKind(method_, *thicknessFrom_, now);
}

const AcceptedCheck* ShownResult::CurrentCheck(const Inputs& now) const {
    return check_ && ThicknessIsCurrent(now) ? &*check_ : nullptr;
}

bool ShownResult::NormIsCurrent(const Inputs& now) const {
    return normFrom_ && SameInputsOfKind(NormFluxMethod, *normFrom_, now);
}

} // namespace workflow
