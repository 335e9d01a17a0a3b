// Linked into a test program that ctest runs once under each of the users' locales: the
// C library's locale is set from IZOL_TEST_LOCALE before any test, as Qt sets it from the
// environment at the program's start.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

namespace {

class LocaleEnvironment : public testing::Environment {
public:
    void SetUp() override {
        const char* name = std::getenv("IZOL_TEST_LOCALE");
        if (name == nullptr || *name == '\0') return;
        ASSERT_NE(std::setlocale(LC_ALL, name), nullptr)
            << name << " is not installed: make deps generates it";
    }
};

[[maybe_unused]] testing::Environment* const registered =
    testing::AddGlobalTestEnvironment(new LocaleEnvironment);

} // namespace
