// Debian's emscripten 3.1.6 ships a libc++ without the range algorithms and without
// to_chars and from_chars for a double; the engine and the workflow use a few of them. This header
// is forced into the web build only and supplies just those, with the standard's meaning.
#pragma once

#ifdef __EMSCRIPTEN__

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>

namespace std {

#ifndef __cpp_lib_ranges
namespace ranges {

template <class R, class T, class Proj = identity>
constexpr auto find(R&& r, const T& value, Proj proj = {}) {
    auto it = std::begin(r);
    for (; it != std::end(r); ++it)
        if (std::invoke(proj, *it) == value) return it;
    return it;
}

template <class R, class Pred> constexpr bool all_of(R&& r, Pred pred) {
    return std::all_of(std::begin(r), std::end(r), pred);
}

template <class R, class Pred> constexpr bool any_of(R&& r, Pred pred) {
    return std::any_of(std::begin(r), std::end(r), pred);
}

template <class R, class Pred> constexpr auto count_if(R&& r, Pred pred) {
    return std::count_if(std::begin(r), std::end(r), pred);
}

template <class R> constexpr void reverse(R&& r) {
    std::reverse(std::begin(r), std::end(r));
}

template <class R, class Comp = std::less<>, class Proj = identity>
void stable_sort(R&& r, Comp comp = {}, Proj proj = {}) {
    std::stable_sort(std::begin(r), std::end(r), [&](const auto& a, const auto& b) {
        return std::invoke(comp, std::invoke(proj, a), std::invoke(proj, b));
    });
}

} // namespace ranges
#endif

// Fixed notation with a precision only; the page's C library always runs in the "C"
// locale, so the decimal separator is a point as the standard's to_chars writes it.
inline to_chars_result to_chars(char* first, char* last, double value, chars_format format,
                                int precision) {
    if (format != chars_format::fixed) return {last, errc::value_too_large};
    const int n = std::snprintf(first, size_t(last - first), "%.*f", precision, value);
    if (n < 0 || n >= last - first) return {last, errc::value_too_large};
    return {first + n, errc()};
}

// A number in the C format: the page's C library runs in the "C" locale, as from_chars reads.
inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format = chars_format::general) {
    const string copy(first, last);
    char* end = nullptr;
    const double parsed = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str()) return {first, errc::invalid_argument};
    value = parsed;
    return {first + (end - copy.c_str()), errc()};
}

} // namespace std

#endif
