// Runs the calculate command on inputs built from arbitrary bytes: any choice position,
// in range or not, any field value (NaN, infinities and huge values included) and any
// material value, one engine and one shown result for a whole session as in the window.
// A result text and its check must be figures, and a result must belong to the inputs it
// came from.
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
        ChangeInputs(in, inputs);
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
