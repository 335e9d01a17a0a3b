#include "FieldBehaviours.h"

#include <gtest/gtest.h>

#include <set>

using namespace workflow;

namespace {

constexpr int Pipe = 0, Plane = 1;
constexpr int D108 = 7, D219 = 10, D273 = 11, D325 = 12;

// The list by value, e.g. "012345", and the chosen row's value ("" for none).
std::string Values(const MaterialList& list) {
    std::string values;
    for (const MaterialSpec* row : list.Rows())
        values += row->value;
    return values;
}
std::string Chosen(const MaterialList& list) {
    return list.ChosenValue().value_or("");
}

TEST(MaterialList, OpensAsA108mmPipeWithTheCylinderChosen) {
    const MaterialList list;
    EXPECT_EQ(Values(list), "012345");
    ASSERT_EQ(list.ChosenRow(), 4u);
    EXPECT_EQ(list.Rows()[4]->text, "Цилиндр ЗОРБАЛИТ - 80");
    EXPECT_EQ(list.MaterialIndex(), 4);
}

TEST(MaterialList, PlaneAndBackKeepTheDiameterClass) {
    MaterialList list;
    list.SwitchObject(Plane, D108);
    EXPECT_EQ(Values(list), "01236");
    EXPECT_EQ(list.ChosenRow(), 0u);
    EXPECT_EQ(list.Rows()[0]->text, "Мат прошивной ЗОРБАЛИТ-80.");
    EXPECT_FALSE(DiameterGroupVisible(Plane));
    // Fifth in the list, and still material 6.
    list.Choose(4);
    EXPECT_EQ(list.MaterialIndex(), 6);

    list.SwitchObject(Pipe, D108);
    EXPECT_EQ(Values(list), "012345");
    EXPECT_EQ(Chosen(list), "4");
    EXPECT_TRUE(DiameterGroupVisible(Pipe));

    list.ChangeDiameter(D325);
    list.SwitchObject(Plane, D325);
    EXPECT_EQ(Values(list), "01236");
    list.SwitchObject(Pipe, D325);
    EXPECT_EQ(Values(list), "0123456");
    EXPECT_EQ(Chosen(list), "4");
}

TEST(MaterialList, SwitchingToTheObjectItAlreadyIsChangesNothing) {
    MaterialList list;
    list.Choose(1);
    list.SwitchObject(Pipe, D108);
    EXPECT_EQ(Chosen(list), "1");
    list.SwitchObject(Plane, D108);
    list.Choose(4);
    list.SwitchObject(Plane, D108);
    EXPECT_EQ(Values(list), "01236");
    EXPECT_EQ(Chosen(list), "6");
}

TEST(MaterialList, DiameterChangeAddsAndRemovesTheLamellarMat) {
    struct Case {
        int from, to;
        const char* chosenBefore;
        const char* rows;
        const char* chosenAfter;
    };
    // clang-format off
    const Case cases[] = {
        {D108, D273, "4", "0123456", "4"}, // the mat joins at 273 mm
        {D108, D219, "1", "012345",  "1"}, // within a class nothing changes
        {D325, D273, "6", "0123456", "6"},
        {D325, D219, "5", "012345",  "5"}, // another row stays chosen
        {D325, D219, "6", "012345",  "4"}, // the mat leaves: the cylinder takes its place
        {D325, D108, "0", "012345",  "0"},
    };
    // clang-format on
    for (const Case& c : cases) {
        MaterialList list;
        list.ChangeDiameter(c.from);
        for (std::size_t i = 0; i < list.Rows().size(); ++i)
            if (list.Rows()[i]->value == c.chosenBefore) list.Choose(int(i));
        ASSERT_EQ(Chosen(list), c.chosenBefore);
        list.ChangeDiameter(c.to);
        EXPECT_EQ(Values(list), c.rows) << c.from << " -> " << c.to;
        EXPECT_EQ(Chosen(list), c.chosenAfter) << c.from << " -> " << c.to;
    }
}

TEST(MaterialList, PlaneIgnoresTheHiddenDiameterUntilItIsAPipeAgain) {
    MaterialList list;
    list.SwitchObject(Plane, D108);
    list.ChangeDiameter(D325);
    EXPECT_EQ(Values(list), "01236");
    list.SwitchObject(Pipe, D325);
    EXPECT_EQ(Values(list), "0123456");
}

TEST(MaterialList, NoChosenRowReadsMaterialZero) {
    MaterialList list;
    list.Choose(-1);
    EXPECT_FALSE(list.ChosenRow());
    EXPECT_EQ(list.MaterialIndex(), 0);
    list.Choose(6); // past the six rows of a small pipe
    EXPECT_FALSE(list.ChosenRow());
    list.ChangeDiameter(D325);
    EXPECT_FALSE(list.ChosenRow());
}

TEST(TextOnEntry, EmptiesExactlyAZeroInTheSeventeenFields) {
    const std::set<Control> taking = {
        Control::RzNumericEdit1,  Control::RzNumericEdit2,  Control::RzNumericEdit6,
        Control::RzNumericEdit7,  Control::RzNumericEdit8,  Control::RzNumericEdit11,
        Control::RzNumericEdit12, Control::RzNumericEdit13, Control::RzNumericEdit16,
        Control::RzNumericEdit17, Control::RzNumericEdit18, Control::RzNumericEdit21,
        Control::RzNumericEdit22, Control::RzNumericEdit25, Control::RzNumericEdit26,
        Control::RzNumericEdit27, Control::RzNumericEdit28};
    for (const NumberFieldSpec& f : NumberFields()) {
        const bool takesPart = taking.contains(f.control);
        EXPECT_EQ(TextOnEntry(f, "0"), takesPart ? "" : "0") << ObjectName(f.control);
        EXPECT_EQ(TextOnEntry(f, "5"), "5");
        EXPECT_EQ(TextOnEntry(f, "-40"), "-40");
        EXPECT_EQ(TextOnEntry(f, "0,5"), "0,5");
    }
}

TEST(ListOpenedBy, ThePictureBesideEachList) {
    EXPECT_EQ(ListOpenedBy(Control::Image6), Control::RzComboBox1);
    EXPECT_EQ(ListOpenedBy(Control::Image24), Control::RzComboBox5);
    EXPECT_EQ(ListOpenedBy(Control::Shape2), std::nullopt); // a backdrop, not a drop-down picture
}

} // namespace
