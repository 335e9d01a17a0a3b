// Inputs built from arbitrary bytes for the fuzz targets: any choice position, in range or
// not, any field value (NaN, infinities and huge values included) and any material value.
#pragma once

#include "CalcKinds.h"
#include "InputModel.h"
#include "NumberField.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>
#include <string>

namespace fuzzed {

using namespace workflow;

// Values the material list could carry, and some it never does.
constexpr std::array<const char*, 10> MaterialValues = {"0",  "3", "4",  "6",  "7",
                                                        "-1", "",  " 4", "4x", "99999999999"};

inline int ChoicePosition(FuzzedDataProvider& in, const ChoiceSpec& choice) {
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return choice.defaultRow;
    case 1: // one beyond each end too
        return in.ConsumeIntegralInRange(-1, int(choice.rows.size()));
    default:
        return in.ConsumeIntegral<int>();
    }
}

inline double FieldValue(FuzzedDataProvider& in, const NumberFieldSpec& field) {
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

inline std::optional<std::string> Material(FuzzedDataProvider& in) {
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

inline bool NamesAFigure(std::string text) {
    if (text.empty()) return false;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return text.find("nan") == std::string::npos && text.find("inf") == std::string::npos;
}

// NaN differs from itself, so a result computed from a NaN field never counts as current;
// the window's fields never hold one.
inline bool ReadsNaN(int method, const Inputs& inputs) {
    for (Control input : InputsReadBy(method))
        if (input != MaterialListControl && !IsChoice(input) && std::isnan(inputs.Field(input)))
            return true;
    return false;
}

// Starts afresh from the window's defaults or keeps the inputs, then changes some or all.
inline void ChangeInputs(FuzzedDataProvider& in, Inputs& inputs) {
    const bool fresh = in.ConsumeBool();
    if (fresh) inputs = Inputs();
    for (const ChoiceSpec& choice : Choices())
        if (fresh || in.ConsumeBool()) inputs.Choice(choice.control) = ChoicePosition(in, choice);
    for (const NumberFieldSpec& field : NumberFields())
        if (fresh || in.ConsumeBool()) inputs.Field(field.control) = FieldValue(in, field);
    if (fresh || in.ConsumeBool()) inputs.materialValue = Material(in);
}

} // namespace fuzzed
