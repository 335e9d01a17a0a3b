#include "CalculateCommand.h"

#include "CalcKinds.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <utility>

namespace workflow {

namespace {

// Routes the engine's message box into the effects for as long as the command runs.
class EngineMessagesInto {
public:
    EngineMessagesInto(T_calc& engine, std::vector<Effect>& effects)
        : engine_(engine)
        , previous_(std::move(engine.ShowMessageBox)) {
        engine.ShowMessageBox = [&effects](const std::string& text, const std::string& caption) {
            effects.push_back(ShowMessage{text, caption});
        };
    }
    ~EngineMessagesInto() { engine_.ShowMessageBox = std::move(previous_); }
    EngineMessagesInto(const EngineMessagesInto&) = delete;
    EngineMessagesInto& operator=(const EngineMessagesInto&) = delete;

private:
    T_calc& engine_;
    T_calc::MessageBoxFn previous_;
};

// The product thickness that the result shows, in millimetres. A negative thickness means
// the norm is met without insulation: none is needed.
int32_t AcceptedMillimetres(const T_calc& engine, double thickness) {
    return std::max(engine.RoundThickness(thickness), 0);
}

std::string ResultText(const T_calc& engine, double thickness, std::string_view separator) {
    const int32_t millimetres = AcceptedMillimetres(engine, thickness);
    // Beyond this the rounding saturates: its clamp is no computed thickness.
    if (millimetres > LargestShownThickness) return std::string(BeyondLargestThickness);
    return FormatThickness(millimetres, separator);
}

bool Finite(const CheckFigure& figure) {
    return std::isfinite(figure.value);
}

// What the accepted thickness gives, and the thickness that meets a shortfall; none where
// no thickness is accepted or a figure has no value.
std::optional<AcceptedCheck> CheckAccepted(const CalcKind& kind, const T_calc& engine,
                                           double thickness) {
    const int32_t accepted = AcceptedMillimetres(engine, thickness);
    if (accepted > LargestShownThickness) return std::nullopt;
    AcceptedCheck check = kind.check(engine, accepted);
    check.requiredMm = engine.ProductMillimetres(thickness);
    if (!std::isfinite(check.requiredMm) || !Finite(check.checked) || !Finite(check.required) ||
        !std::all_of(check.more.begin(), check.more.end(), Finite) ||
        !std::all_of(check.factors.begin(), check.factors.end(), Finite))
        return std::nullopt;
    const bool met = check.state == CheckState::Met;
    // Past the thickest product no thickness that meets is worth naming.
    if (!met && accepted <= LargestProductThickness)
        check.meetingMm =
            T_calc::SmallestMeetingThickness(accepted, LargestShownThickness, [&](int32_t mm) {
                return kind.check(engine, mm).state == CheckState::Met;
            });
    check.state = JudgeCheck(kind, met, accepted, check.requiredMm, check.meetingMm);
    return check;
}

// Appends what the entry's status shows, by the kind's table.
void Conclude(std::vector<Effect>& effects, const CalcKind& kind, const EntryResult& entry,
              const T_calc& engine, std::string_view separator) {
    const auto row = std::find_if(kind.statuses.begin(), kind.statuses.end(),
                                  [&](const StatusEffects& e) { return e.status == entry.status; });
    const StatusEffects success{entry.status, "", "", std::nullopt, true, Norm::BeforeBox};
    const StatusEffects& e = row != kind.statuses.end() ? *row : success;

    auto showNorm = [&] {
        if (entry.norm) effects.push_back(SetField{Control::RzNumericEdit3, *entry.norm});
    };
    if (e.norm == Norm::BeforeBox) showNorm();
    if (!e.text.empty())
        effects.push_back(
            ShowMessage{std::string(e.text) + entry.boxDetail, std::string(e.caption)});
    if (e.norm == Norm::AfterBox) showNorm();
    if (e.focus) effects.push_back(MoveFocus{*e.focus});
    if (!e.thenSuccess) return;
    effects.push_back(SetResult{ResultText(engine, entry.thickness, separator)});
    if (auto check = CheckAccepted(kind, engine, entry.thickness))
        effects.emplace_back(ShowCheck{std::move(*check)});
}

} // namespace

std::vector<Effect> Calculate(int method, const Inputs& in, T_calc& engine,
                              std::string_view decimalSeparator) {
    std::vector<Effect> effects;
    const CalcKind* kind = Kind(method);
    if (kind == nullptr) return effects;
    EngineMessagesInto engineMessages(engine, effects);
    if (const auto entry = kind->run(in, engine, effects, decimalSeparator))
        Conclude(effects, *kind, *entry, engine, decimalSeparator);
    return effects;
}

std::string FormatThickness(int32_t millimetres, std::string_view decimalSeparator) {
    const std::string sign = millimetres < 0 ? "-" : "";
    const int64_t magnitude = millimetres < 0 ? -int64_t{millimetres} : int64_t{millimetres};
    // Whole millimetres: the digit after the separator is always 0.
    if (magnitude < 100'000)
        return sign + std::to_string(magnitude) + std::string(decimalSeparator) + "0";

    // Five significant digits; the rest rounds half up.
    int exponent = int(std::to_string(magnitude).size()) - 1;
    int64_t scale = 1;
    for (int i = 0; i < exponent - 4; ++i)
        scale *= 10;
    int64_t digits = magnitude / scale;
    if ((magnitude % scale) * 2 >= scale) ++digits;
    if (digits == 100'000) { // 9.99995E+05 rounds to 1.0000E+06
        digits = 10'000;
        ++exponent;
    }
    const std::string d = std::to_string(digits);
    const std::string e = std::to_string(exponent);
    return sign + d.substr(0, 1) + std::string(decimalSeparator) + d.substr(1) + "E+" +
           (e.size() < 2 ? "0" : "") + e;
}

} // namespace workflow
