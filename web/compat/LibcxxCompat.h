// Debian's emscripten 3.1.6 ships a libc++ without the range algorithms and without
// to_chars or from_chars for a double; the engine and the workflow use a few of them. This header
// is forced into the web build only and supplies just those, with the standard's meaning.
#pragma once

#ifdef __EMSCRIPTEN__

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// The shortest text that reads back as the same double, fixed or scientific as
// std::to_chars chooses: whichever is shorter, fixed on a tie.
inline to_chars_result to_chars(char* first, char* last, double value) {
    // A double has 15 to 17 significant digits: the 15-digit rounding that reads back, its
    // trailing zeros dropped, is the shortest; otherwise 16 or 17 digits.
    char scientific[40];
    // A subnormal has fewer digits.
    int precision = std::fabs(value) < DBL_MIN ? 0 : 14;
    for (; precision < 16; ++precision) {
        std::snprintf(scientific, sizeof scientific, "%.*e", precision, value);
        if (std::strtod(scientific, nullptr) == value) break;
    }
    std::snprintf(scientific, sizeof scientific, "%.*e", precision, value);
    {
        char* e = std::strchr(scientific, 'e');
        char* end = e - 1;
        while (*end == '0')
            --end;
        if (*end == '.') --end;
        std::memmove(end + 1, e, std::strlen(e) + 1);
        precision = 0;
        for (const char* c = scientific; *c != 'e'; ++c)
            if (std::isdigit(static_cast<unsigned char>(*c))) ++precision;
        --precision;
    }
    // The mantissa "d.ddd" without trailing zeros, and an exponent of at least two digits.
    std::string sci = scientific;
    const auto e = sci.find('e');
    std::string mantissa = sci.substr(0, e), exponent = sci.substr(e + 1);
    const char sign = exponent[0];
    exponent.erase(0, 1);
    while (exponent.size() > 2 && exponent[0] == '0')
        exponent.erase(0, 1);
    sci = mantissa + 'e' + sign + exponent;
    const int exp10 = std::atoi(scientific + e + 1);
    const int significant = precision + 1;
    const int decimals = std::max(0, significant - 1 - exp10);
    char fixedText[400];
    std::snprintf(fixedText, sizeof fixedText, "%.*f", decimals, value);
    const std::string fixed = fixedText;
    const std::string& text = fixed.size() <= sci.size() ? fixed : sci;
    if (std::ptrdiff_t(text.size()) > last - first) return {last, errc::value_too_large};
    std::memcpy(first, text.data(), text.size());
    return {first + text.size(), errc()};
}

// The general format: no leading blanks or plus sign, a decimal point whatever the locale.
inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format = chars_format::general) {
    const char* at = first;
    if (at != last && *at == '-') ++at;
    if (at == last || !(std::isdigit((unsigned char)*at) || *at == '.' || *at == 'i' ||
                        *at == 'I' || *at == 'n' || *at == 'N'))
        return {first, errc::invalid_argument};
    const std::string copy(first, last);
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str()) return {first, errc::invalid_argument};
    const char* stop = first + (end - copy.c_str());
    // A subnormal is a value; only what leaves the doubles is out of range.
    if (errno == ERANGE && (read == 0 || std::isinf(read)))
        return {stop, errc::result_out_of_range};
    value = read;
    return {stop, errc()};
}

} // namespace std

#endif
