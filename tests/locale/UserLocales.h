// The C library's locales the users run under. A figure the program writes must not depend
// on which is set: tests that write or read numbers run their cases under each.
#pragma once

#include <clocale>
#include <string>

namespace testlocale {

inline constexpr const char* UserLocales[] = {"C.UTF-8", "ru_RU.UTF-8"};

// Sets the locale for its lifetime, as Qt sets it from the environment at start. Set()
// is false where the system has no such locale (make deps generates ru_RU.UTF-8).
class UnderLocale {
public:
    explicit UnderLocale(const char* name)
        : earlier_(std::setlocale(LC_ALL, nullptr))
        , set_(std::setlocale(LC_ALL, name) != nullptr) {}
    ~UnderLocale() { std::setlocale(LC_ALL, earlier_.c_str()); }
    UnderLocale(const UnderLocale&) = delete;
    UnderLocale& operator=(const UnderLocale&) = delete;

    bool Set() const { return set_; }

private:
    std::string earlier_;
    bool set_;
};

} // namespace testlocale
