// The inputs of the five kinds of calculation as data: every list, material row and
// number field with its default and limits, and which inputs each kind reads. The window
// builds its controls from these tables; the calculate command reads the values by name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Controls.h"

namespace workflow {

// Where an input stands: on the page of a kind (0..CalcMethodCount-1), or on the lower panel
// that all kinds share.
inline constexpr int CommonPanel = -1;

// ---- Choices: radio groups and fixed drop-down lists ------------------------------------

struct ChoiceSpec {
    Control control;
    std::string_view caption; // the heading or label beside the control
    std::span<const std::string_view> rows;
    int defaultRow;
};

// Those of the common panel, then the lists of each kind's page in the order of the kinds.
std::span<const ChoiceSpec> Choices();
const ChoiceSpec& Choice(Control control); // throws std::out_of_range
bool IsChoice(Control control);
// The text of a row of a choice; empty for a position outside its rows.
std::string_view ChoiceRowText(Control choice, int position);

// The laying of the freezing kind (RzComboBox2) as a phrase of its own, as its row reads.
std::string LayingText(int position);

// Positions of the diameter list, mm; the engine indexes its tables by the same positions.
std::span<const int32_t> DiameterListMm();
// The position from which the lamellar mat joins the material list of a pipe (273 mm).
inline constexpr int LargeDiameterFrom = 11;

// ---- Material catalogue ---------------------------------------------------------------

enum class ShownFor { PipeAndPlane, PipeOnly, PlaneAndLargePipe };

struct MaterialSpec {
    std::string_view value; // the material index as the list row carries it
    std::string_view text;
    ShownFor shownFor;
};

std::span<const MaterialSpec> MaterialCatalogue();
inline constexpr Control MaterialListControl = Control::RzComboBox1;
inline constexpr std::string_view MaterialCaption =
    "Материал............................................";
inline constexpr std::string_view DefaultMaterialValue = "4"; // "Цилиндр ЗОРБАЛИТ - 80"

// The rows of the material list for an object (pipe or plane) and a diameter position, in
// ascending order of value.
std::span<const MaterialSpec* const> MaterialRowsFor(bool pipe, int diameterPosition);

// The row text of a material value string; empty for none or an unknown one.
std::string_view MaterialText(const std::optional<std::string>& value);

// The material index that the engine receives: the integer in the chosen row's value
// string; no row, or a string that is no index of the catalogue, gives 0.
int32_t MaterialIndexFromValue(std::optional<std::string_view> value);

// ---- Number fields --------------------------------------------------------------------

enum class FieldKind { Integer, Real };

enum class FieldUse {
    Input,    // typed by the user and read by the calculate command
    Output,   // read-only, written by the calculate command
    Disabled, // shows a fixed value and is never read
};

struct Limits {
    double min;
    double max;
};

struct NumberFieldSpec {
    Control control;
    std::string_view caption;
    FieldKind kind;
    FieldUse use;
    double defaultValue;
    std::optional<Limits> limits;
    std::string_view displayPattern;
    bool emptiesZeroOnEntry;  // a shown "0" gives way to an empty field when entered
    bool announcesRangeError; // leaving it out of range shows a message first
};

// The fields of each kind's page in the order of the kinds.
std::span<const NumberFieldSpec> NumberFields();
const NumberFieldSpec& NumberField(Control control); // throws std::out_of_range

// The kind whose page holds an input (a choice or a number field), or CommonPanel.
int PageOf(Control input);

// The caption of the norm density field RzNumericEdit3 for an object (position 1 is a
// plane): the norm of a pipe is per metre, that of a plane per square metre.
std::string_view NormCaption(int objectPosition);

// ---- The values of all inputs at the moment of calculating ----------------------------

// What the window shows; a default-constructed set is the window as it opens.
class Inputs {
public:
    Inputs();

    // Position of the chosen row of a choice; throws std::out_of_range for another name.
    int& Choice(Control choice);
    int Choice(Control choice) const;

    // Value of a number field; throws std::out_of_range for another name.
    double& Field(Control field);
    double Field(Control field) const;

    // Value string of the chosen row of the material list, none when no row is chosen.
    std::optional<std::string> materialValue;

private:
    // By position in Choices() and NumberFields(); no table holds more than every control.
    std::array<int, ControlCount> choices_{};
    std::array<double, ControlCount> fields_{};
};

} // namespace workflow
