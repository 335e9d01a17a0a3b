#include "ScheduleJson.h"

#include "CalcKinds.h"
#include "InputModel.h"
#include "ScheduleColumns.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <unordered_map>
#include <utility>

namespace workflow {

namespace {

constexpr std::string_view FormatName = "izolcalc-schedule";
// Ids are JSON numbers, which hold whole numbers exactly up to 2^53.
constexpr double LargestId = 9007199254740992.0;

// The controls that a row's input may name: filling the window from a row sets them.
bool IsInput(Control control) {
    return IsChoice(control) || control == MaterialListControl ||
           std::ranges::any_of(NumberFields(),
                               [&](const auto& field) { return field.control == control; });
}

// The check's states by their keys in the file.
constexpr std::array<std::pair<CheckState, std::string_view>, 4> CheckStateKeys = {{
    {CheckState::Met, "met"},
    {CheckState::WithinAllowance, "withinAllowance"},
    {CheckState::NotMet, "notMet"},
    {CheckState::BeyondProducts, "beyondProducts"},
}};

std::string_view CheckStateKey(CheckState state) {
    for (const auto& [known, key] : CheckStateKeys)
        if (known == state) return key;
    return {};
}

std::optional<CheckState> CheckStateNamed(std::string_view name) {
    for (const auto& [known, key] : CheckStateKeys)
        if (key == name) return known;
    return std::nullopt;
}

// The caption an input has unless its file says otherwise.
const std::string& CaptionOf(Control control) {
    static const std::array<std::string, ControlCount> captions = [] {
        std::array<std::string, ControlCount> all;
        for (std::size_t i = 0; i < all.size(); ++i)
            if (IsInput(Control(i))) all[i] = InputCaption(Control(i));
        return all;
    }();
    return captions[std::size_t(control)];
}

// The text a choice shows at the input's position; empty for a position outside its list.
std::string_view ChoiceText(const ScheduleInput& input) {
    const auto& rows = Choice(input.control).rows;
    const double position = input.value;
    if (!(position >= 0 && position < double(rows.size()) && position == std::floor(position)))
        return {};
    return ChoiceRowText(input.control, int(position));
}

// ---- Writing --------------------------------------------------------------------------

class Writer {
public:
    std::string text;

    void Raw(std::string_view part) { text += part; }

    void Key(std::string_view key) {
        if (!first_) text += ", ";
        first_ = false;
        text += '"';
        text += key;
        text += "\": ";
    }
    void Open(char bracket) {
        text += bracket;
        first_ = true;
    }
    void Close(char bracket) {
        text += bracket;
        first_ = false;
    }
    void Item() {
        if (!first_) text += ", ";
        first_ = false;
    }

    void String(std::string_view value) {
        text += '"';
        std::size_t run = 0;
        for (std::size_t i = 0; i < value.size(); ++i) {
            const auto c = static_cast<unsigned char>(value[i]);
            if (c >= 0x20 && c != '"' && c != '\\') continue;
            text.append(value.substr(run, i - run));
            run = i + 1;
            switch (c) {
            case '"':
                text += "\\\"";
                break;
            case '\\':
                text += "\\\\";
                break;
            case '\n':
                text += "\\n";
                break;
            case '\r':
                text += "\\r";
                break;
            case '\t':
                text += "\\t";
                break;
            default: {
                static constexpr char Hex[] = "0123456789abcdef";
                text += "\\u00";
                text += Hex[c >> 4];
                text += Hex[c & 15];
            }
            }
        }
        text.append(value.substr(run));
        text += '"';
    }

    // JSON has no NaN or infinity: such a number is written as null and read back as NaN.
    void Number(double value) {
        if (!std::isfinite(value)) {
            text += "null";
            return;
        }
        std::array<char, 32> digits{};
        const auto [end, error] =
            std::to_chars(digits.data(), digits.data() + digits.size(), value);
        text.append(digits.data(), end);
    }
    void Whole(std::int64_t value) { text += std::to_string(value); }
    void Bool(bool value) { text += value ? "true" : "false"; }
    void Null() { text += "null"; }

private:
    bool first_ = true;
};

void WriteInputs(Writer& out, const std::vector<ScheduleInput>& inputs) {
    out.Open('[');
    for (const ScheduleInput& input : inputs) {
        out.Item();
        out.Open('{');
        out.Key("control");
        out.String(ObjectName(input.control));
        // The control's own caption goes without saying: it is most of a row's size.
        if (input.caption != CaptionOf(input.control)) {
            out.Key("caption");
            out.String(input.caption);
        }
        // So does a choice's text, which its position names.
        if (!IsChoice(input.control) || input.text != ChoiceText(input)) {
            out.Key("text");
            out.String(input.text);
        }
        out.Key("value");
        out.Number(input.value);
        out.Close('}');
    }
    out.Close(']');
}

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
// Spelt out for compilers without C++20's deduction for aggregates (the web build's clang 14).
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

// Every key of the column table, in its order; a value that is missing as null.
void WriteRow(Writer& out, const RowAt& at) {
    const ScheduleRow& row = at.row;
    out.Open('{');
    for (const ScheduleColumn& column : ScheduleColumns()) {
        if (column.key.empty()) continue;
        out.Key(column.key);
        std::visit(
            Overloaded{
                [](std::monostate) {},
                [&](std::string ScheduleRow::*text) { out.String(row.*text); },
                [&](std::optional<std::string> ScheduleRow::*text) {
                    if (row.*text)
                        out.String(*(row.*text));
                    else
                        out.Null();
                },
                [&](double ScheduleRow::*number) { out.Number(row.*number); },
                [&](std::int32_t ScheduleRow::*whole) { out.Whole(row.*whole); },
                [&](std::optional<std::int32_t> ScheduleRow::*whole) {
                    if (row.*whole)
                        out.Whole(*(row.*whole));
                    else
                        out.Null();
                },
                [&](RowId ScheduleRow::*id) { out.Whole(std::int64_t(row.*id)); },
                [&](CheckState ScheduleRow::*state) { out.String(CheckStateKey(row.*state)); },
                [&](std::vector<ScheduleInput> ScheduleRow::*inputs) {
                    WriteInputs(out, row.*inputs);
                },
                [&](std::string (*text)(const RowAt&)) { out.String(text(at)); },
            },
            column.file);
    }
    out.Close('}');
}

// ---- Reading --------------------------------------------------------------------------

// A value as read before its meaning is known: a string, a number, true, false or null.
// Arrays and objects are read by their own functions.
struct Scalar {
    enum class Type { None, String, Number, Bool, Null } type = Type::None;
    std::string text;
    double number = 0;
    bool truth = false;
};

// Reads the document straight into rows. A fault of the JSON itself stops the reading
// (`broken`); a value of the wrong type only marks the document as no schedule (`wrong`)
// and is skipped, so that a later version number can still say why.
class Reader {
public:
    explicit Reader(std::string_view text)
        : begin_(text.data())
        , at_(text.data())
        , end_(text.data() + text.size()) {
        if (text.starts_with("\xEF\xBB\xBF")) at_ += 3;
    }

    bool broken = false;
    bool wrong = false;
    // Where the first fault was met, from the start of the text.
    std::size_t faultAt = 0;

    bool AtEnd() {
        Blanks();
        return at_ == end_;
    }

    // { "key": value, … }: `onKey` reads the value after each key.
    template <class OnKey> void Object(OnKey&& onKey) {
        if (!Take('{')) return Fail();
        Blanks();
        if (Take('}')) return;
        do {
            Blanks();
            std::string_view key;
            if (!Key(key)) return Fail();
            Blanks();
            if (!Take(':')) return Fail();
            Blanks();
            onKey(key);
            if (broken) return;
            Blanks();
        } while (Take(','));
        if (!Take('}')) Fail();
    }

    // [ value, … ]: `onItem` reads each value.
    template <class OnItem> void Array(OnItem&& onItem) {
        if (!Take('[')) return Fail();
        Blanks();
        if (Take(']')) return;
        do {
            Blanks();
            onItem();
            if (broken) return;
            Blanks();
        } while (Take(','));
        if (!Take(']')) Fail();
    }

    // Where the reader stands, from the start of the text; Pass moves it on over a text
    // known to be sound.
    std::size_t Offset() const { return std::size_t(at_ - begin_); }
    void Pass(std::size_t length) { at_ += length; }

    bool AtObject() { return Peek('{'); }
    bool AtArray() { return Peek('['); }

    Scalar Value() {
        Scalar value;
        if (at_ == end_) {
            Fail();
        } else if (*at_ == '"') {
            value.type = Scalar::Type::String;
            if (!String(value.text)) Fail();
        } else if (Word("true")) {
            value.type = Scalar::Type::Bool;
            value.truth = true;
        } else if (Word("false")) {
            value.type = Scalar::Type::Bool;
        } else if (Word("null")) {
            value.type = Scalar::Type::Null;
        } else if (const std::optional<double> number = Number()) {
            value.type = Scalar::Type::Number;
            value.number = *number;
        } else {
            Fail();
        }
        return value;
    }

    // Any value, checked and passed over; nesting deeper than any schedule is refused.
    void Skip(int depth = 0) {
        if (depth > 32) return Fail();
        if (AtObject())
            Object([&](std::string_view) { Skip(depth + 1); });
        else if (AtArray())
            Array([&] { Skip(depth + 1); });
        else
            Value();
    }

    // A value of the wrong type: the document is no schedule, but is read on.
    void Wrong() {
        if (!wrong && !broken) faultAt = Offset();
        wrong = true;
    }

private:
    void Fail() {
        if (!broken && !wrong) faultAt = Offset();
        broken = true;
    }

    void Blanks() {
        while (at_ != end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\r' || *at_ == '\t'))
            ++at_;
    }
    bool Peek(char c) const { return at_ != end_ && *at_ == c; }
    bool Take(char c) {
        if (!Peek(c)) return false;
        ++at_;
        return true;
    }
    bool Word(std::string_view word) {
        if (std::size_t(end_ - at_) < word.size() || std::string_view(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    // JSON's number grammar exactly; from_chars alone would take "1." or "+1".
    std::optional<double> Number() {
        const char* start = at_;
        const auto digits = [&] {
            const char* from = at_;
            while (at_ != end_ && *at_ >= '0' && *at_ <= '9')
                ++at_;
            return at_ - from;
        };
        Take('-');
        if (Peek('0'))
            ++at_;
        else if (digits() == 0)
            return std::nullopt;
        if (Take('.') && digits() == 0) return std::nullopt;
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            if (digits() == 0) return std::nullopt;
        }
        double value = 0;
        const auto [end, error] = std::from_chars(start, at_, value);
        // Too large for a double is no figure; too small is zero.
        if (end != at_ || error == std::errc::invalid_argument) return std::nullopt;
        if (error == std::errc::result_out_of_range) {
            if (std::fabs(value) > 1) return std::nullopt;
            value = 0;
        }
        return value;
    }

    static int Hex(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    std::optional<char32_t> Unit() { // the four hex digits after \u
        if (end_ - at_ < 4) return std::nullopt;
        char32_t unit = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = Hex(*at_++);
            if (digit < 0) return std::nullopt;
            unit = unit * 16 + char32_t(digit);
        }
        return unit;
    }
    static void Append(std::string& out, char32_t c) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    // The length of the well-formed UTF-8 sequence at `at_`, or 0.
    std::size_t Utf8Length() const {
        const auto byte = [&](std::size_t i) {
            return i < std::size_t(end_ - at_) ? static_cast<unsigned char>(at_[i]) : 0u;
        };
        const unsigned lead = byte(0);
        const auto follows = [&](std::size_t i, unsigned low = 0x80, unsigned high = 0xBF) {
            return byte(i) >= low && byte(i) <= high;
        };
        if (lead >= 0xC2 && lead <= 0xDF) return follows(1) ? 2 : 0;
        if (lead >= 0xE0 && lead <= 0xEF) {
            // No overlong forms and no surrogates.
            const unsigned low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
            return follows(1, low, high) && follows(2) ? 3 : 0;
        }
        if (lead >= 0xF0 && lead <= 0xF4) {
            const unsigned low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
            return follows(1, low, high) && follows(2) && follows(3) ? 4 : 0;
        }
        return 0;
    }

    // A string in UTF-8 with JSON's escapes; false when it is none.
    // The text of a string without escapes, as it stands in the document (the quote
    // passed); none, and nothing passed, for one with escapes or broken.
    std::optional<std::string_view> Plain() {
        const char* start = at_;
        while (at_ != end_) {
            const auto c = static_cast<unsigned char>(*at_);
            if (c == '"') return std::string_view(start, std::size_t(at_++ - start));
            if (c < 0x20 || c == '\\') break;
            if (c < 0x80) {
                ++at_;
                continue;
            }
            const std::size_t length = Utf8Length();
            if (length == 0) break;
            at_ += length;
        }
        at_ = start;
        return std::nullopt;
    }

    // A key: a view into the document, or into a copy of its own while it is read.
    bool Key(std::string_view& key) {
        if (Take('"')) {
            if (const std::optional<std::string_view> plain = Plain()) {
                key = *plain;
                return true;
            }
            --at_;
        }
        keys_.emplace_back();
        if (!String(keys_.back())) return false;
        key = keys_.back();
        return true;
    }

    bool String(std::string& out) {
        out.clear();
        if (!Take('"')) return false;
        if (const std::optional<std::string_view> plain = Plain()) {
            out.assign(*plain);
            return true;
        }
        while (at_ != end_) {
            const char* run = at_;
            while (at_ != end_ && static_cast<unsigned char>(*at_) >= 0x20 &&
                   static_cast<unsigned char>(*at_) < 0x80 && *at_ != '"' && *at_ != '\\')
                ++at_;
            out.append(run, at_);
            if (at_ == end_) return false;
            const auto c = static_cast<unsigned char>(*at_);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return false;
            if (c >= 0x80) {
                const std::size_t length = Utf8Length();
                if (length == 0) return false;
                out.append(at_, length);
                at_ += length;
                continue;
            }
            ++at_; // the backslash
            if (at_ == end_) return false;
            switch (*at_++) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::optional<char32_t> unit = Unit();
                if (!unit || (*unit >= 0xDC00 && *unit <= 0xDFFF)) return false;
                if (*unit >= 0xD800 && *unit <= 0xDBFF) {
                    if (!Word("\\u")) return false;
                    const std::optional<char32_t> low = Unit();
                    if (!low || *low < 0xDC00 || *low > 0xDFFF) return false;
                    unit = 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00);
                }
                Append(out, *unit);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    const char* begin_;
    const char* at_;
    const char* end_;
    std::deque<std::string> keys_; // keys with escapes, which no view can show as they are
};

// ---- The meaning of values: each gives none for a value unlike what this program writes

std::optional<std::string> TextIn(Scalar& value) {
    if (value.type != Scalar::Type::String) return std::nullopt;
    return std::move(value.text);
}

std::optional<double> NumberIn(const Scalar& value) {
    if (value.type == Scalar::Type::Null) return std::numeric_limits<double>::quiet_NaN();
    if (value.type != Scalar::Type::Number) return std::nullopt;
    return value.number;
}

std::optional<double> WholeIn(const Scalar& value, double low, double high) {
    if (value.type != Scalar::Type::Number) return std::nullopt;
    const double number = value.number;
    if (!(number == std::floor(number) && number >= low && number <= high)) return std::nullopt;
    return number;
}

std::optional<std::int32_t> Int32In(const Scalar& value) {
    const std::optional<double> whole = WholeIn(value, std::numeric_limits<std::int32_t>::min(),
                                                std::numeric_limits<std::int32_t>::max());
    if (!whole) return std::nullopt;
    return std::int32_t(*whole);
}

bool Missing(const Scalar& value) {
    return value.type == Scalar::Type::None || value.type == Scalar::Type::Null;
}

std::optional<ScheduleInput> InputIn(Reader& in) {
    if (!in.AtObject()) {
        in.Skip();
        return std::nullopt;
    }
    Scalar control, caption, text, value;
    bool nested = false;
    in.Object([&](std::string_view key) {
        Scalar* slot = key == "control"   ? &control
                       : key == "caption" ? &caption
                       : key == "text"    ? &text
                       : key == "value"   ? &value
                                          : nullptr;
        if (slot == nullptr) return in.Skip();
        if (in.AtObject() || in.AtArray()) {
            nested = true;
            return in.Skip();
        }
        *slot = in.Value();
    });
    if (nested || in.broken) return std::nullopt;

    const std::optional<std::string> name = TextIn(control);
    if (!name) return std::nullopt;
    const std::optional<Control> named = ControlNamed(*name);
    if (!named || !IsInput(*named)) return std::nullopt;
    std::optional<std::string> captionText =
        caption.type == Scalar::Type::None ? CaptionOf(*named) : TextIn(caption);
    if (!captionText) return std::nullopt;

    std::optional<double> number;
    if (IsChoice(*named)) {
        // A choice's position picks a row of its table; one outside would read past it.
        number = WholeIn(value, 0, double(Choice(*named).rows.size()) - 1);
    } else {
        number = NumberIn(value);
    }
    if (!number) return std::nullopt;
    ScheduleInput input{*named, std::move(*captionText), {}, *number};
    std::optional<std::string> shown = text.type == Scalar::Type::None && IsChoice(*named)
                                           ? std::optional<std::string>(ChoiceText(input))
                                           : TextIn(text);
    if (!shown) return std::nullopt;
    input.text = std::move(*shown);
    return input;
}

// Reads a key's value into the row; false for a value unlike what this program writes.
// A null stands for a value the row does not have, where it may lack one.
bool ValueIn(Reader& in, ScheduleRow& row, const ScheduleColumn& column, bool& bad) {
    const auto scalar = [&](auto&& take) {
        if (in.AtObject() || in.AtArray()) {
            in.Skip();
            return false;
        }
        Scalar value = in.Value();
        return in.broken || take(value);
    };
    return std::visit(
        Overloaded{
            [&](std::monostate) {
                in.Skip();
                return true;
            },
            [&](std::string ScheduleRow::*text) {
                return scalar([&](Scalar& v) {
                    if (Missing(v) && !column.required) return true;
                    std::optional<std::string> read = TextIn(v);
                    if (read) row.*text = std::move(*read);
                    return read.has_value();
                });
            },
            [&](std::optional<std::string> ScheduleRow::*text) {
                return scalar([&](Scalar& v) {
                    if (Missing(v)) return true;
                    row.*text = TextIn(v);
                    return (row.*text).has_value();
                });
            },
            [&](double ScheduleRow::*number) {
                return scalar([&](Scalar& v) {
                    const std::optional<double> read = NumberIn(v);
                    if (read) row.*number = *read;
                    return read.has_value();
                });
            },
            [&](std::int32_t ScheduleRow::*whole) {
                return scalar([&](Scalar& v) {
                    const std::optional<std::int32_t> read = Int32In(v);
                    if (read) row.*whole = *read;
                    return read.has_value();
                });
            },
            [&](std::optional<std::int32_t> ScheduleRow::*whole) {
                return scalar([&](Scalar& v) {
                    if (Missing(v)) return true;
                    row.*whole = Int32In(v);
                    return (row.*whole).has_value();
                });
            },
            [&](RowId ScheduleRow::*id) {
                return scalar([&](Scalar& v) {
                    if (Missing(v)) return true; // given one after the others
                    const std::optional<double> read = WholeIn(v, 1, LargestId);
                    if (read) row.*id = RowId(*read);
                    return read.has_value();
                });
            },
            [&](CheckState ScheduleRow::*state) {
                return scalar([&](Scalar& v) {
                    const std::optional<CheckState> read =
                        v.type == Scalar::Type::String ? CheckStateNamed(v.text) : std::nullopt;
                    if (read) row.*state = *read;
                    return read.has_value();
                });
            },
            [&](std::vector<ScheduleInput> ScheduleRow::*inputs) {
                if (!in.AtArray()) {
                    in.Skip();
                    return false;
                }
                (row.*inputs).clear();
                (row.*inputs).reserve(8);
                in.Array([&] {
                    std::optional<ScheduleInput> input = InputIn(in);
                    if (input)
                        (row.*inputs).push_back(std::move(*input));
                    else
                        bad = true;
                });
                return true;
            },
            [&](std::string (*)(const RowAt&)) { // for the file's readers, never read back
                in.Skip();
                return true;
            },
        },
        column.file);
}

// A row, or none (the reader marked wrong) for a row unlike what this program writes.
std::optional<ScheduleRow> RowIn(Reader& in) {
    if (!in.AtObject()) {
        in.Skip();
        in.Wrong();
        return std::nullopt;
    }
    const std::span<const ScheduleColumn> columns = ScheduleColumns();
    ScheduleRow row;
    bool bad = false, hasMet = false, met = false;
    std::array<bool, MostScheduleColumns> has{};
    in.Object([&](std::string_view key) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (key == columns[i].key) {
                has[i] = true;
                if (!ValueIn(in, row, columns[i], bad)) bad = true;
                return;
            }
        if (key == "checkMet") {
            if (in.AtObject() || in.AtArray()) {
                bad = true;
                return in.Skip();
            }
            const Scalar value = in.Value();
            met = value.truth;
            hasMet = value.type == Scalar::Type::Bool;
            if (!in.broken && !hasMet) bad = true;
            return;
        }
        in.Skip(); // keys a reader does not know are ignored
    });
    // Versions 1 and 2 said only whether the check was met.
    bool hasState = true, complete = true;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!columns[i].required || has[i]) continue;
        if (std::holds_alternative<CheckState ScheduleRow::*>(columns[i].file))
            hasState = false;
        else
            complete = false;
    }
    if (bad || !complete || (!hasState && !hasMet) || Kind(row.kind) == nullptr) {
        in.Wrong();
        return std::nullopt;
    }
    // An earlier version's «met» as today's rule judges it from the row's figures.
    if (!hasState)
        row.checkState =
            JudgeCheck(*Kind(row.kind), met, row.acceptedMm, row.requiredMm, row.meetingMm);
    return row;
}

} // namespace

std::string ScheduleJson(const Schedule& schedule, std::vector<RowText>* where,
                         const KnownRows* known) {
    Writer out;
    out.text.reserve(schedule.Size() * 1200 + 128);
    out.Raw("{\"format\": \"");
    out.Raw(FormatName);
    out.Raw("\", \"version\": ");
    out.Whole(ScheduleFormatVersion);
    out.Raw(", \"nextId\": ");
    out.Whole(std::int64_t(schedule.NextId()));
    out.Raw(", \"rows\": [");
    std::size_t number = 0;
    for (const ScheduleRow& row : schedule.Rows()) {
        out.Raw(number++ == 0 ? "\n" : ",\n");
        const std::size_t offset = out.text.size();
        const RowText* same = nullptr;
        if (known)
            if (const auto found = known->byId.find(row.id); found != known->byId.end())
                same = &found->second;
        if (same)
            out.Raw(known->text.substr(same->offset, same->length));
        else
            WriteRow(out, {row, number, ","});
        if (where) where->push_back({offset, out.text.size() - offset, row.id});
    }
    out.Raw("\n]}\n");
    return std::move(out.text);
}

ParsedSchedule ParseScheduleJson(std::string_view text, EarlierText earlier) {
    using Problem = ParsedSchedule::Problem;
    Reader in(text);
    const auto Failed = [&](Problem problem) {
        ParsedSchedule failed;
        failed.problem = problem;
        failed.problemAt = in.faultAt;
        return failed;
    };
    // The earlier rows that had an id in their text: looked for after the last one taken,
    // and by their text once the rows have moved.
    struct Earlier {
        std::size_t index;
        RowId id;
    };
    const bool reuse = earlier.where != nullptr && earlier.rows != nullptr &&
                       earlier.where->size() == earlier.rows->size();
    std::vector<bool> taken(reuse ? earlier.rows->size() : 0);
    std::size_t nextEarlier = 0;
    std::unordered_map<std::string_view, Earlier> byText;
    const auto earlierText = [&](std::size_t i) {
        const RowText& at = (*earlier.where)[i];
        return at.id == NoRowId || at.offset + at.length > earlier.text.size()
                   ? std::string_view()
                   : earlier.text.substr(at.offset, at.length);
    };
    const auto findEarlier = [&](std::string_view line) -> std::optional<Earlier> {
        if (nextEarlier < taken.size() && !taken[nextEarlier] && earlierText(nextEarlier) == line)
            return Earlier{nextEarlier, (*earlier.where)[nextEarlier].id};
        if (byText.empty())
            for (std::size_t i = 0; i < taken.size(); ++i)
                if (const std::string_view known = earlierText(i); !known.empty())
                    byText.emplace(known, Earlier{i, (*earlier.where)[i].id});
        const auto found = byText.find(line);
        if (found == byText.end() || taken[found->second.index]) return std::nullopt;
        return found->second;
    };

    std::vector<ScheduleRow> rows;
    std::vector<RowText> where;
    // Rows are some 800 bytes as written: room without moving them as they come.
    rows.reserve(std::min<std::size_t>(text.size() / 600, 1 << 16));
    where.reserve(rows.capacity());
    Scalar format, version, nextId;
    bool hasRows = false;
    // Not even a JSON object: some other kind of file.
    if (!in.AtObject()) return Failed(Problem::NotSchedule);
    in.Object([&](std::string_view key) {
        if (key == "rows") {
            hasRows = true;
            if (!in.AtArray()) {
                in.Wrong();
                return in.Skip();
            }
            rows.clear();
            where.clear();
            return in.Array([&] {
                const std::size_t offset = in.Offset();
                // A row's line as this program writes it: the same text is the same row.
                if (reuse) {
                    std::string_view line = text.substr(offset, text.find('\n', offset) - offset);
                    if (line.ends_with(',')) line.remove_suffix(1);
                    if (const std::optional<Earlier> found = findEarlier(line)) {
                        rows.push_back(std::move((*earlier.rows)[found->index]));
                        rows.back().id = found->id;
                        where.push_back({offset, line.size(), found->id});
                        taken[found->index] = true; // a copy of it is read
                        nextEarlier = found->index + 1;
                        in.Pass(line.size());
                        return;
                    }
                }
                std::optional<ScheduleRow> row = RowIn(in);
                if (!row || in.wrong) return;
                where.push_back({offset, in.Offset() - offset, row->id});
                rows.push_back(std::move(*row));
            });
        }
        Scalar* slot = key == "format"    ? &format
                       : key == "version" ? &version
                       : key == "nextId"  ? &nextId
                                          : nullptr;
        if (slot == nullptr || in.AtObject() || in.AtArray()) {
            if (slot != nullptr) in.Wrong();
            return in.Skip();
        }
        *slot = in.Value();
    });
    if (in.broken)
        return Failed(format.text == FormatName ? Problem::Damaged : Problem::NotSchedule);
    if (!in.AtEnd()) {
        in.faultAt = in.Offset();
        return Failed(format.text == FormatName ? Problem::Damaged : Problem::NotSchedule);
    }
    if (format.type != Scalar::Type::String || format.text != FormatName)
        return Failed(Problem::NotSchedule);
    const std::optional<double> number = WholeIn(version, 1, LargestId);
    if (!number) return Failed(Problem::Damaged);
    if (*number > ScheduleFormatVersion) return Failed(Problem::Newer);
    std::optional<double> next = WholeIn(nextId, 1, LargestId);
    if (!Missing(nextId) && !next) in.Wrong();
    if (in.wrong || !hasRows) return Failed(Problem::Damaged);
    return {Problem::None, 0, Schedule(std::move(rows), next ? RowId(*next) : 1), std::move(where)};
}

Schedule RecoverScheduleRows(std::string_view text) {
    std::vector<ScheduleRow> rows;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == ','))
            line.remove_suffix(1);
        while (!line.empty() && line.front() == ' ')
            line.remove_prefix(1);
        if (!line.starts_with('{') || !line.ends_with('}')) continue;
        Reader in(line);
        std::optional<ScheduleRow> row = RowIn(in);
        if (!row || in.broken || in.wrong || !in.AtEnd()) continue;
        rows.push_back(std::move(*row));
    }
    return Schedule(std::move(rows));
}

} // namespace workflow
