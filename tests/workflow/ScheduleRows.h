// Rows of the schedule as the window makes them: a calculation of each kind, run on its
// inputs as after choosing the kind and pressing «Рассчитать», then taken into a row.
#pragma once

#include "CalculateCommand.h"
#include "FalsePositive.h"
#include "MethodSelection.h"
#include "Schedule.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace workflow {

inline ScheduleRow CalculatedRow(int method, const std::function<void(Inputs&)>& setup,
                                 std::string tag = {}) {
    Inputs in = InputsAfterChoosing(method);
    setup(in);
    T_calc engine;
    ShownResult shown;
    shown.KindChosen(method);
    const auto effects = Calculate(method, in, engine, ",");
    for (const Effect& e : effects)
        if (const auto* set = std::get_if<SetField>(&e)) in.Field(set->field) = set->value;
    shown.Calculated(method, in, effects);
    RowOrReason made = RowFromCalculation(method, in, shown, "2026-12-10T16:20:05", ",");
    if (!made.row) throw std::runtime_error("no row for kind " + std::to_string(method));
    made.row->tag = std::move(tag);
    return *made.row;
}

// One row of each kind 0..4, with fractions among the inputs of the channel.
inline std::vector<ScheduleRow> RowsOfEveryKind() {
    return {
        CalculatedRow(
            0,
            [](Inputs& in) {
                in.Field(Control::RzNumericEdit1) = 5;
                in.Field(Control::RzNumericEdit2) = 150;
            },
            "Т1-108"),
        CalculatedRow(
            1,
            [](Inputs& in) {
                in.Choice(Control::RzRadioGroup1) = 1; // a plane, and the list's first row
                // GCC 12 at -O3 sees an overlapping copy in the short string's assignment.
                IZOL_GCC_FALSE_POSITIVE("-Wrestrict", in.materialValue = "0";)
                in.Field(Control::RzNumericEdit6) = 20;
                in.Field(Control::RzNumericEdit7) = 150;
                in.Field(Control::RzNumericEdit8) = 45;
            },
            "Бак"),
        CalculatedRow(2,
                      [](Inputs& in) {
                          in.Field(Control::RzNumericEdit11) = 20;
                          in.Field(Control::RzNumericEdit12) = 15;
                      }),
        CalculatedRow(
            3,
            [](Inputs& in) {
                in.Field(Control::RzNumericEdit17) = 1.375;
                in.Field(Control::RzNumericEdit21) = 0.5;
            },
            "К-2"),
        CalculatedRow(
            4, [](Inputs&) {}, "В1"),
    };
}

} // namespace workflow
