// Runs the calculate command on inputs built from arbitrary bytes: any choice position,
// in range or not, any field value (NaN, infinities and huge values included) and any
// material value, one engine and one shown result for a whole session as in the window.
// A result text and its check must be figures, and a result must belong to the inputs it
// came from.
#include "CalcKinds.h"
#include "CalculateCommand.h"
#include "NumberField.h"
#include "ShownResult.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <variant>

using namespace workflow;

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

// Values the material list could carry, and some it never does.
constexpr std::array<const char*, 10> MaterialValues = {"0",  "3", "4",  "6",  "7",
                                                        "-1", "",  " 4", "4x", "99999999999"};

int ChoicePosition(FuzzedDataProvider& in, const ChoiceSpec& choice) {
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return choice.defaultRow;
    case 1: // one beyond each end too
        return in.ConsumeIntegralInRange(-1, int(choice.rows.size()));
    default:
        return in.ConsumeIntegral<int>();
    }
}

double FieldValue(FuzzedDataProvider& in, const NumberFieldSpec& field) {
    const Limits limits = field.limits.value_or(Limits{-UnlimitedBound, UnlimitedBound});
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
        return field.defaultValue;
    case 1: // what the window can hold
        return field.kind == FieldKind::Integer
                   ? double(in.ConsumeIntegralInRange(int(limits.min), int(limits.max)))
                   : in.ConsumeFloatingPointInRange(limits.min, limits.max);
    case 2: // where the engine's statuses change
        return double(in.ConsumeIntegralInRange(-300, 300));
    case 3:
        return in.ConsumeFloatingPoint<double>();
    default: // every bit pattern: NaN, infinities, subnormals
        return std::bit_cast<double>(in.ConsumeIntegral<uint64_t>());
    }
}

std::optional<std::string> Material(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return std::nullopt;
    case 1:
        return in.PickValueInArray(MaterialValues);
    case 2:
        return std::string(DefaultMaterialValue);
    default:
        return in.ConsumeRandomLengthString(12);
    }
}

bool NamesAFigure(std::string text) {
    if (text.empty()) return false;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return text.find("nan") == std::string::npos && text.find("inf") == std::string::npos;
}

// NaN differs from itself, so a result computed from a NaN field never counts as current;
// the window's fields never hold one.
bool ReadsNaN(int method, const Inputs& inputs) {
    for (Control input : InputsReadBy(method))
        if (input != MaterialListControl && !IsChoice(input) && std::isnan(inputs.Field(input)))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    T_calc engine;
    int ownBoxes = 0;
    engine.ShowMessageBox = [&](const std::string&, const std::string&) { ++ownBoxes; };
    ShownResult shown;
    int method = -1;
    Inputs inputs;

    // Several calculations in one session, so that what one leaves in the engine and in
    // the shown result meets the next.
    while (in.remaining_bytes() > 0) {
        const int next = in.ConsumeIntegralInRange(0, int(CalcKinds().size()) - 1);
        if (next != method) shown.KindChosen(method = next);
        const bool fresh = in.ConsumeBool();
        if (fresh) inputs = Inputs();
        for (const ChoiceSpec& choice : Choices())
            if (fresh || in.ConsumeBool())
                inputs.Choice(choice.control) = ChoicePosition(in, choice);
        for (const NumberFieldSpec& field : NumberFields())
            if (fresh || in.ConsumeBool()) inputs.Field(field.control) = FieldValue(in, field);
        if (fresh || in.ConsumeBool()) inputs.materialValue = Material(in);
        const std::string_view separator = in.ConsumeBool() ? "," : ".";

        const std::vector<Effect> effects = Calculate(method, inputs, engine, separator);
        Check(ownBoxes == 0); // the engine's boxes come back among the effects
        engine.ShowMessageBox("", "");
        Check(ownBoxes == 1); // and its own callback is back afterwards
        ownBoxes = 0;

        bool result = false;
        for (const Effect& effect : effects) {
            if (const auto* set = std::get_if<SetResult>(&effect)) {
                Check(NamesAFigure(set->text));
                result = true;
            } else if (const auto* box = std::get_if<ShowMessage>(&effect)) {
                Check(!box->text.empty() && !box->caption.empty());
            } else if (const auto* shownCheck = std::get_if<ShowCheck>(&effect)) {
                // A check reads figures, and a shortfall names a thicker product.
                const AcceptedCheck& c = shownCheck->check;
                Check(result && NamesAFigure(CheckLine(c, separator)));
                Check(c.acceptedMm >= 0 && c.acceptedMm <= LargestShownThickness);
                Check(!c.met || !c.meetingMm);
                Check(!c.meetingMm || *c.meetingMm > c.acceptedMm);
            } else if (const auto* focus = std::get_if<MoveFocus>(&effect)) {
                // The focus goes to a field that this kind reads, for the user to correct.
                const auto read = InputsReadBy(method);
                Check(std::find(read.begin(), read.end(), focus->field) != read.end());
            }
        }

        shown.Calculated(method, inputs, effects);
        for (const Effect& effect : effects)
            if (const auto* set = std::get_if<SetField>(&effect))
                inputs.Field(set->field) = set->value;
        if (result) {
            Check(shown.HasThickness());
            if (!ReadsNaN(method, inputs)) Check(shown.ThicknessIsCurrent(inputs));
        }
    }
    return 0;
}
