// The small behaviours that keep the inputs consistent while the user works: the material
// list that follows the object and the diameter, the diameter group shown only for a pipe,
// a shown "0" that gives way on entry, and the pictures that open their lists.
#pragma once

#include "InputModel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace workflow {

// The material list RzComboBox1: rows of the catalogue in ascending order of value and at
// most one chosen row. It always holds the rows of its object and diameter; the window
// mirrors Rows() and ChosenRow() into its list after each change.
class MaterialList {
public:
    // As the window opens: a pipe of 108 mm, "Цилиндр ЗОРБАЛИТ - 80" chosen.
    MaterialList();

    std::span<const MaterialSpec* const> Rows() const { return rows_; }
    std::optional<std::size_t> ChosenRow() const { return chosen_; }
    // The value string of the chosen row, as the calculate command reads it.
    std::optional<std::string> ChosenValue() const;
    int32_t MaterialIndex() const;

    // The user picks a row; a position outside the list leaves no row chosen.
    void Choose(int position);

    // The object changes (RzRadioGroup1Changing): position 1 is a plane, any other a pipe.
    // To a pipe the cylinders return and "Цилиндр ЗОРБАЛИТ - 80" is chosen; to a plane the
    // first row is chosen. Choosing the object it already has changes nothing.
    void SwitchObject(int objectPosition, int diameterPosition);

    // The user picks a diameter (RzComboBox3Change): the lamellar mat joins a pipe from
    // 273 mm on and leaves it below. The chosen row stays; when it was the lamellar mat
    // that left, "Цилиндр ЗОРБАЛИТ - 80" is chosen, so a row is always chosen.
    void ChangeDiameter(int diameterPosition);

private:
    void ChooseValue(std::string_view value);

    bool pipe_ = true;
    int diameter_ = 0;
    std::span<const MaterialSpec* const> rows_;
    std::optional<std::size_t> chosen_;
};

// Shown exactly while the object is a pipe (position 1 is a plane).
inline constexpr std::array<Control, 4> DiameterGroup = {Control::RzLabel31, Control::RzComboBox3,
                                                         Control::Image7, Control::Shape2};
bool DiameterGroupVisible(int objectPosition);

// The text a number field shows once the focus has entered it: a shown "0" gives way to an
// empty field in the fields that take part, so that a new number can be typed at once.
std::string TextOnEntry(const NumberFieldSpec& field, std::string_view shownText);

// A click on the picture beside a drop-down list focuses the list and opens it.
struct PictureOpensList {
    Control picture;
    Control list;
};
// clang-format off
inline constexpr std::array<PictureOpensList, 5> PictureLists = {{
    {Control::Image6,  Control::RzComboBox1}, // material
    {Control::Image7,  Control::RzComboBox3}, // diameter
    {Control::Image22, Control::RzComboBox4}, // supply temperature
    {Control::Image4,  Control::RzComboBox2}, // laying
    {Control::Image24, Control::RzComboBox5}, // region
}};
// clang-format on
std::optional<Control> ListOpenedBy(Control picture);

} // namespace workflow
