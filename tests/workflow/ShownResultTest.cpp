#include "ShownResult.h"

#include "CalculateCommand.h"
#include "FalsePositive.h"

#include <gtest/gtest.h>

using namespace workflow;

namespace {

// The window's side of one calculation: the command on a snapshot, then the record.
struct Window {
    Inputs inputs;
    ShownResult shown;
    T_calc engine;

    void Choose(int method) { shown.KindChosen(method); }
    void Calculate(int method) {
        const auto effects = workflow::Calculate(method, inputs, engine, ",");
        for (const Effect& e : effects)
            if (const auto* set = std::get_if<SetField>(&e)) inputs.Field(set->field) = set->value;
        shown.Calculated(method, inputs, effects);
    }
    bool Current() const { return shown.ThicknessIsCurrent(inputs); }
};

TEST(ShownResult, NothingBelongsToTheInputsBeforeACalculation) {
    Window w;
    w.Choose(1);
    EXPECT_EQ(w.shown.Text(), "0");
    EXPECT_FALSE(w.shown.HasThickness());
    EXPECT_FALSE(w.Current());
}

TEST(ShownResult, StaleWhenAnInputOfTheKindChangesCurrentWhenItComesBack) {
    Window w;
    w.Choose(1);
    w.inputs.Field(Control::RzNumericEdit6) = 20;
    w.inputs.Field(Control::RzNumericEdit7) = 150;
    w.inputs.Field(Control::RzNumericEdit8) = 45;
    w.Calculate(1);
    EXPECT_EQ(w.shown.Text(), "30,0");
    EXPECT_TRUE(w.Current());

    // Inputs of other kinds do not matter; each input this kind reads does.
    w.inputs.Field(Control::RzNumericEdit1) = 99;
    w.inputs.Choice(Control::RzComboBox5) = 3;
    EXPECT_TRUE(w.Current());
    const auto stales = [&](auto change) {
        Inputs before = w.inputs;
        change(w.inputs);
        const bool stale = !w.Current();
        w.inputs = before;
        return stale;
    };
    EXPECT_TRUE(stales([](Inputs& in) { in.Field(Control::RzNumericEdit7) = 200; }));
    EXPECT_TRUE(stales([](Inputs& in) { in.Choice(Control::RzRadioGroup3) = 1; }));
    EXPECT_TRUE(stales([](Inputs& in) { in.Choice(Control::RzComboBox3) = 8; }));
    // GCC 12 at -O3 sees the copy of "5" into the string overlap.
    IZOL_GCC_FALSE_POSITIVE("-Wrestrict",
                            EXPECT_TRUE(stales([](Inputs& in) { in.materialValue = "5"; }));)
    EXPECT_TRUE(stales([](Inputs& in) { in.materialValue.reset(); }));
    EXPECT_TRUE(w.Current());

    // A rejection keeps the earlier thickness on show, which no longer belongs.
    w.inputs.Field(Control::RzNumericEdit8) = 20;
    w.Calculate(1);
    EXPECT_EQ(w.shown.Text(), "30,0");
    EXPECT_FALSE(w.Current());

    // Choosing the kind again forgets it.
    w.inputs.Field(Control::RzNumericEdit8) = 45;
    w.Choose(1);
    EXPECT_FALSE(w.Current());
    EXPECT_EQ(w.shown.Text(), "0");
}

TEST(ShownResult, TheRaisedHumidityBelongsToTheResult) {
    Window w;
    w.Choose(2);
    w.inputs.Field(Control::RzNumericEdit11) = 20;
    w.inputs.Field(Control::RzNumericEdit12) = 15;
    w.Calculate(2);
    EXPECT_EQ(w.inputs.Field(Control::RzNumericEdit13), 50);
    EXPECT_TRUE(w.Current());
}

TEST(ShownResult, TheNormOutlivesTheChoiceOfKindButNotItsInputs) {
    Window w;
    w.Choose(0);
    w.inputs.Field(Control::RzNumericEdit1) = 5;
    w.inputs.Field(Control::RzNumericEdit2) = 150;
    w.Calculate(0);
    EXPECT_TRUE(w.shown.NormIsCurrent(w.inputs));

    w.Choose(1);
    w.Choose(0);
    EXPECT_FALSE(w.Current());
    EXPECT_TRUE(w.shown.NormIsCurrent(w.inputs));
    w.inputs.Choice(Control::RzRadioGroup4) = 1; // working hours pick another norm
    EXPECT_FALSE(w.shown.NormIsCurrent(w.inputs));

    // Status 7 writes the norm without a thickness: the norm belongs, no thickness does.
    w.inputs.Field(Control::RzNumericEdit2) = 300;
    // GCC 12 at -O3 sees the copy of "6" into the string overlap.
    IZOL_GCC_FALSE_POSITIVE("-Wrestrict", w.inputs.materialValue = "6";)
    w.Calculate(0);
    EXPECT_TRUE(w.shown.NormIsCurrent(w.inputs));
    EXPECT_FALSE(w.shown.HasThickness());

    // A refused calculation writes no norm: the one shown belongs to the inputs before.
    w.inputs.Field(Control::RzNumericEdit1) = 30;
    w.inputs.Field(Control::RzNumericEdit2) = 20; // the air warmer than the carrier
    w.Calculate(0);
    EXPECT_FALSE(w.shown.NormIsCurrent(w.inputs));
}

// The check belongs to the thickness: shown while it is current, gone for a new kind and
// after a rejected calculation.
TEST(ShownResult, TheCheckLivesAndDiesWithTheThickness) {
    Window w;
    w.Choose(1);
    w.inputs.Field(Control::RzNumericEdit6) = 20;
    w.inputs.Field(Control::RzNumericEdit7) = 150;
    w.inputs.Field(Control::RzNumericEdit8) = 45;
    EXPECT_EQ(w.shown.CurrentCheck(w.inputs), nullptr);
    w.Calculate(1);
    ASSERT_NE(w.shown.CurrentCheck(w.inputs), nullptr);
    EXPECT_EQ(w.shown.CurrentCheck(w.inputs)->acceptedMm, 30);

    w.inputs.Field(Control::RzNumericEdit7) = 200; // stale
    EXPECT_EQ(w.shown.CurrentCheck(w.inputs), nullptr);
    w.inputs.Field(Control::RzNumericEdit7) = 150; // current again
    EXPECT_NE(w.shown.CurrentCheck(w.inputs), nullptr);

    w.inputs.Field(Control::RzNumericEdit8) = 20; // the surface at the air: rejected
    w.Calculate(1);
    w.inputs.Field(Control::RzNumericEdit8) = 45;
    EXPECT_TRUE(w.Current()); // the old thickness still belongs to these inputs...
    EXPECT_EQ(w.shown.CurrentCheck(w.inputs), nullptr); // ...but its check is cleared

    w.Calculate(1);
    EXPECT_NE(w.shown.CurrentCheck(w.inputs), nullptr);
    w.Choose(2);
    w.Choose(1);
    EXPECT_EQ(w.shown.CurrentCheck(w.inputs), nullptr);
}

} // namespace
