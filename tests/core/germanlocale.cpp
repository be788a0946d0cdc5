#include <clocale>
#include <cstdlib>
#include <locale>
#include <stdexcept>
#include <string_view>

#include <gtest/gtest.h>

namespace {

bool GermanRun() {
    const char* name = std::getenv("LC_ALL");
    return name != nullptr && std::string_view(name).starts_with("de_DE");
}

// When the run asks for the German locale, the C library's and the C++ global locale are both
// switched to it, so a decimal comma would show in any number text that followed them.
class GermanLocale : public ::testing::Environment {
public:
    void SetUp() override {
        if (!GermanRun())
            return;
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        try {
            std::locale::global(std::locale("de_DE.UTF-8"));
        } catch (const std::runtime_error&) {
            // Reported by the check below; the other tests still run.
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
