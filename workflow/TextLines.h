// Where a byte stands in a text, as a person counts the lines of a file.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace workflow {

// The line (from 1) that holds the byte at `offset`; the last line past the end.
inline std::size_t LineAt(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return std::size_t(std::count(text.begin(), text.begin() + std::ptrdiff_t(offset), '\n')) + 1;
}

} // namespace workflow
