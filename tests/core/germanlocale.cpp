#include <clocale>
#include <cstdlib>
#include <locale>
#include <stdexcept>
#include <string_view>

#include <gtest/gtest.h>

namespace {

bool GermanRun() {
    const char* name = std::getenv("LC_ALL");
    return name && std::string_view(name).starts_with("de_DE");
}

// The German run switches the C++ global locale and with it the C library's, so a decimal
// comma would show in any number text that followed them.
struct GermanLocale : ::testing::Environment {
    void SetUp() override {
        if (!GermanRun())
            return;
        try {
            std::locale::global(std::locale("de_DE.UTF-8"));
        } catch (const std::runtime_error&) { // reported by the check below
        }
    }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new GermanLocale);

// Registered for the German run alone; elsewhere (a plain run, Wine) there is nothing to check.
TEST(GermanLocale, IsReallyActiveInTheGermanRun) {
    if (!GermanRun())
        GTEST_SKIP() << "not the German run";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",")
        << "de_DE.UTF-8 is not installed: run scripts/install-deps";
    EXPECT_EQ(std::use_facet<std::numpunct<char>>(std::locale()).decimal_point(), ',');
}

} // namespace
