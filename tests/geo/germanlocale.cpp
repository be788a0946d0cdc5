#include <clocale>
#include <cstdlib>
#include <locale>
#include <stdexcept>
#include <string_view>

#include <QLocale>

#include <gtest/gtest.h>

namespace {

bool GermanRun() {
    const char* name = std::getenv("LC_ALL");
    return name != nullptr && std::string_view(name).starts_with("de_DE");
}

// When the run asks for the German locale, every locale the program could pick up is
// switched to it: the C library's, the C++ global one and Qt's default.
class GermanLocale : public ::testing::Environment {
public:
    void SetUp() override {
        if (!GermanRun())
            return;
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        try {
            std::locale::global(std::locale("de_DE.UTF-8"));
        } catch (const std::runtime_error&) {
            // Reported by the test below; the other tests still run.
        }
        QLocale::setDefault(QLocale::German);
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GermanLocale);

TEST(GermanLocale, IsReallyActiveInTheGermanRun) {
    ASSERT_STREQ(std::localeconv()->decimal_point, ",")
        << "de_DE.UTF-8 is not installed: run scripts/install-deps";
    EXPECT_EQ(std::use_facet<std::numpunct<char>>(std::locale()).decimal_point(), ',');
    EXPECT_EQ(QLocale().decimalPoint(), QString(","));
}

} // namespace
