// A compiler warning known to be false, silenced for one statement and only on the
// compiler that gives it; the warning is named where it is silenced:
//     IZOL_GCC_FALSE_POSITIVE("-Wrestrict", text = "a" + text;)
#pragma once

#if defined(__GNUC__) && !defined(__clang__)
#define IZOL_GCC_PRAGMA(text) _Pragma(#text)
#define IZOL_GCC_FALSE_POSITIVE(warning, ...)                                                      \
    _Pragma("GCC diagnostic push") IZOL_GCC_PRAGMA(GCC diagnostic ignored warning)                 \
        __VA_ARGS__ _Pragma("GCC diagnostic pop")
#else
#define IZOL_GCC_FALSE_POSITIVE(warning, ...) __VA_ARGS__
#endif
