// Runs the calculate command on inputs built from arbitrary bytes: any choice position,
// in range or not, any field value (NaN, infinities and huge values included) and any
// material value, one engine and one shown result for a whole session as in the window.
// A result text and its check must be figures, a result must belong to the inputs it came
// from, and the same inputs give what they give a fresh engine.
#include "CalcKinds.h"
#include "CalculateCommand.h"
#include "FuzzedInputs.h"
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
using namespace fuzzed;

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

// Equal effects; a field set to NaN equals another set to NaN.
bool Same(const std::vector<Effect>& a, const std::vector<Effect>& b) {
    return std::ranges::equal(a, b, [](const Effect& x, const Effect& y) {
        const auto* u = std::get_if<SetField>(&x);
        const auto* v = std::get_if<SetField>(&y);
        if (u && v)
            return u->field == v->field &&
                   (u->value == v->value || (std::isnan(u->value) && std::isnan(v->value)));
        return x == y;
    });
}

// The window's lists hold only their own rows; a position outside them is no input the
// window can give, and the channel keeps its last supply temperature for one.
bool ChoicesWithinTheirLists(int method, const Inputs& inputs) {
    return std::ranges::all_of(InputsReadBy(method), [&](Control control) {
        if (!IsChoice(control)) return true;
        const int position = inputs.Choice(control);
        return position >= 0 && position < int(Choice(control).rows.size());
    });
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
        if (next != method) {
            shown.KindChosen(method = next);
            engine.Reset(); // as the window does when a kind is chosen
        }
        ChangeInputs(in, inputs);
        const std::string_view separator = in.ConsumeBool() ? "," : ".";

        const std::vector<Effect> effects = Calculate(method, inputs, engine, separator);
        Check(ownBoxes == 0); // the engine's boxes come back among the effects
        if (ChoicesWithinTheirLists(method, inputs)) {
            T_calc fresh;
            Check(Same(Calculate(method, inputs, fresh, separator), effects));
        }
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
                Check(c.state != CheckState::Met || !c.meetingMm);
                Check(!c.meetingMm || *c.meetingMm > c.acceptedMm);
                Check(c.state != CheckState::WithinAllowance ||
                      (Kind(method)->roundingAllowance && c.meetingMm == c.acceptedMm + 10));
                Check((c.state == CheckState::BeyondProducts) ==
                      (c.acceptedMm > LargestProductThickness));
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
