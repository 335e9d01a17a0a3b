// The workflow's texts are UTF-8 string views; the window shows QStrings.
#pragma once

#include <QString>
#include <string_view>

inline QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
