// The workflow's texts are UTF-8 string views; the window shows QStrings.
#pragma once

#include <QLocale>
#include <QString>

#include <string>
#include <string_view>

inline QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The workflow writes figures with the separator of the user's locale.
inline std::string DecimalSeparator() {
    return QLocale().decimalPoint().toStdString();
}
