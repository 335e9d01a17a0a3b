#include "Windows1251.h"

#include <algorithm>
#include <array>
#include <optional>

namespace workflow {

namespace {

// The character of each byte from 0x80 up.
// clang-format off
constexpr std::array<char32_t, 128> Upper = {
    U'Ђ', U'Ѓ', U'‚', U'ѓ', U'„', U'…', U'†', U'‡', U'€', U'‰', U'Љ', U'‹', U'Њ', U'Ќ', U'Ћ', U'Џ',
    U'ђ', U'‘', U'’', U'“', U'”', U'•', U'–', U'—', U'\uFFFD', U'™', U'љ', U'›', U'њ', U'ќ', U'ћ', U'џ',
    U'\u00A0', U'Ў', U'ў', U'Ј', U'¤', U'Ґ', U'¦', U'§', U'Ё', U'©', U'Є', U'«', U'¬', U'\u00AD', U'®', U'Ї',
    U'°', U'±', U'І', U'і', U'ґ', U'µ', U'¶', U'·', U'ё', U'№', U'є', U'»', U'ј', U'Ѕ', U'ѕ', U'ї',
    U'А', U'Б', U'В', U'Г', U'Д', U'Е', U'Ж', U'З', U'И', U'Й', U'К', U'Л', U'М', U'Н', U'О', U'П',
    U'Р', U'С', U'Т', U'У', U'Ф', U'Х', U'Ц', U'Ч', U'Ш', U'Щ', U'Ъ', U'Ы', U'Ь', U'Э', U'Ю', U'Я',
    U'а', U'б', U'в', U'г', U'д', U'е', U'ж', U'з', U'и', U'й', U'к', U'л', U'м', U'н', U'о', U'п',
    U'р', U'с', U'т', U'у', U'ф', U'х', U'ц', U'ч', U'ш', U'щ', U'ъ', U'ы', U'ь', U'э', U'ю', U'я',
};
// clang-format on
constexpr unsigned char UndefinedByte = 0x98;
static_assert(Upper[UndefinedByte - 0x80] == U'\uFFFD');
// А..я run in order from 0xC0, as the encoder assumes.
static_assert([] {
    for (std::size_t i = 0; i < 64; ++i)
        if (Upper[0x40 + i] != U'А' + i) return false;
    return true;
}());

struct Likeness {
    char32_t character;
    std::string_view text;
};
// What a reader of a spreadsheet takes for the character.
constexpr Likeness Likenesses[] = {
    {U'≤', "<="}, {U'≥', ">="}, {U'≈', "~"}, {U'−', "-"}, {U'‐', "-"},      {U'‑', "-"},
    {U'‒', "-"},  {U'×', "x"},  {U'²', "2"}, {U'³', "3"}, {U'\u2009', " "}, {U'\u202F', " "},
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The character that starts at `i` and its length; none for a byte that starts no
// well-formed sequence.
std::optional<char32_t> NextCharacter(std::string_view s, std::size_t& i) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t length = 0;
    char32_t value = 0, lowest = 0;
    if (c < 0x80) {
        ++i;
        return c;
    }
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2, value = c & 0x1F, lowest = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3, value = c & 0x0F, lowest = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4, value = c & 0x07, lowest = 0x10000;
    } else {
        ++i;
        return std::nullopt;
    }
    if (i + length > s.size()) {
        ++i;
        return std::nullopt;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return std::nullopt;
        }
        value = (value << 6) | (b & 0x3F);
    }
    i += length;
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return value;
}

} // namespace

std::string Windows1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        AppendUtf8(out, c < 0x80 ? char32_t(c) : Upper[c - 0x80]);
    }
    return out;
}

std::string Utf8ToWindows1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::optional<char32_t> c = NextCharacter(text, i);
        if (!c) {
            out += '?';
        } else if (*c < 0x80) {
            out += char(*c);
        } else if (*c >= U'А' && *c <= U'я') {
            out += char(0xC0 + (*c - U'А'));
        } else if (const auto* at = std::ranges::find(Upper, *c);
                   at != Upper.end() && *c != U'\uFFFD') {
            out += char(0x80 + (at - Upper.begin()));
        } else {
            const auto* like = std::ranges::find(Likenesses, *c, &Likeness::character);
            out += like != std::end(Likenesses) ? like->text : std::string_view("?");
        }
    }
    return out;
}

} // namespace workflow
