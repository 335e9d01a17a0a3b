// What the workflow asks of the window, in the order the user is to meet it. The window
// carries the effects out one after the other; a message box waits for its OK.
#pragma once

#include "AcceptedCheck.h"
#include "Controls.h"
#include "TCalc.h"

#include <string>
#include <string_view>
#include <variant>

namespace workflow {

// A modal box with the text, the caption and an OK button only, no icon.
struct ShowMessage {
    std::string text;
    std::string caption;
    bool operator==(const ShowMessage&) const = default;
};

// The program sets the value of a number field (its limits do not apply).
struct SetField {
    Control field;
    double value;
    bool operator==(const SetField&) const = default;
};

// The result text RzLabel4 shows.
struct SetResult {
    std::string text;
    bool operator==(const SetResult&) const = default;
};

// The input focus moves to the named field.
struct MoveFocus {
    Control field;
    bool operator==(const MoveFocus&) const = default;
};

// What the accepted thickness of the result just shown gives.
struct ShowCheck {
    AcceptedCheck check;
    bool operator==(const ShowCheck&) const = default;
};

using Effect = std::variant<ShowMessage, SetField, SetResult, MoveFocus, ShowCheck>;

// clang-format off
inline constexpr std::string_view InputErrorCaption      = "Ошибка ввода данных";
inline constexpr std::string_view WarningCaption         = "Предупреждение";
inline constexpr std::string_view ChannelTooSmallCaption = T_calc::ChannelTooSmallCaption;
// clang-format on

} // namespace workflow
