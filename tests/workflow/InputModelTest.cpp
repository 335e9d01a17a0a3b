#include "InputModel.h"
#include "CalcKinds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using namespace workflow;

namespace {

TEST(MaterialIndexFromValue, OnlyACatalogueIndexCounts) {
    struct Case {
        std::optional<std::string_view> value;
        int32_t index;
    };
    // clang-format off
    const Case cases[] = {
        {"0", 0}, {"4", 4}, {"6", 6},
        {std::nullopt, 0}, {"", 0}, {"x", 0}, {"4 ", 0}, {" 4", 0}, {"4.0", 0},
        {"7", 0}, {"-1", 0}, {"99999999999", 0},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(MaterialIndexFromValue(c.value), c.index) << c.value.value_or("(none)");
}

TEST(MaterialRowsFor, ThreeCompositionsSplitAt273mm) {
    auto values = [](bool pipe, int diameter) {
        std::string v;
        for (const MaterialSpec* m : MaterialRowsFor(pipe, diameter))
            v += m->value;
        return v;
    };
    EXPECT_EQ(values(true, 0), "012345");
    EXPECT_EQ(values(true, 10), "012345");  // 219 mm
    EXPECT_EQ(values(true, 11), "0123456"); // 273 mm
    EXPECT_EQ(values(true, 21), "0123456");
    EXPECT_EQ(values(false, 7), "01236");
    EXPECT_EQ(DiameterListMm()[LargeDiameterFrom], 273);
}

TEST(Inputs, StartAsTheWindowOpens) {
    const Inputs in;
    EXPECT_EQ(in.materialValue, "4");
    EXPECT_EQ(Choice(Control::RzComboBox3).rows[in.Choice(Control::RzComboBox3)], "108");
    EXPECT_EQ(Choice(Control::RzComboBox4).rows[in.Choice(Control::RzComboBox4)], "90");
    EXPECT_EQ(Choice(Control::RzComboBox2).rows[in.Choice(Control::RzComboBox2)], "Бесканальный");
    EXPECT_EQ(in.Field(Control::RzNumericEdit13), 0); // below its range until the user leaves it
    EXPECT_EQ(in.Field(Control::RzNumericEdit25), -40);
}

TEST(Inputs, OtherControlsThrowInsteadOfReadingAnywhere) {
    Inputs in;
    EXPECT_THROW(in.Field(Control::RzLabel16), std::out_of_range);
    EXPECT_THROW(in.Choice(Control::RzComboBox1),
                 std::out_of_range); // the material is a value string
    EXPECT_THROW(NumberField(Control::RzComboBox3), std::out_of_range);
}

TEST(Controls, EachIdIsItsObjectName) {
    EXPECT_EQ(ObjectName(Control::RzNumericEdit17), "RzNumericEdit17");
    for (std::size_t i = 0; i < ControlCount; ++i)
        EXPECT_EQ(ControlNamed(ControlNames[i]), Control(i)) << ControlNames[i];
    EXPECT_EQ(ControlNamed("RzNumericEdit4"), std::nullopt);
}

// Every input a kind reads is one the model defines, so the window can find its control, and
// stands on its own page or the common panel.
TEST(InputsReadBy, NamesOnlyDefinedInputs) {
    for (int method = 0; method < CalcMethodCount; ++method) {
        for (Control control : InputsReadBy(method)) {
            const bool known =
                control == MaterialListControl ||
                std::any_of(Choices().begin(), Choices().end(),
                            [&](const ChoiceSpec& c) { return c.control == control; }) ||
                std::any_of(NumberFields().begin(), NumberFields().end(),
                            [&](const NumberFieldSpec& f) {
                                return f.control == control && f.use == FieldUse::Input;
                            });
            EXPECT_TRUE(known) << method << " " << ObjectName(control);
            EXPECT_TRUE(PageOf(control) == method || PageOf(control) == CommonPanel)
                << method << " " << ObjectName(control);
        }
    }
    EXPECT_TRUE(InputsReadBy(5).empty());
}

} // namespace
