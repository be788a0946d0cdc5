#pragma once

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

// A small stand-in for a test framework where none is at hand: named cases, checks that
// report the failing expression with both values, and the closing "N passed, N failed".
namespace check {

struct Case {
    const char* name;
    std::function<void()> body;
};

inline int& FailuresInCase() {
    static int failures = 0;
    return failures;
}

inline void Fail(const char* file, int line, const std::string& what) {
    std::printf("%s:%d: check failed: %s\n", file, line, what.c_str());
    ++FailuresInCase();
}

// Numbers print as numbers, also those of a character type.
template <typename T> auto Printable(const T& value) {
    if constexpr (std::is_arithmetic_v<T>)
        return +value;
    else
        return value;
}

template <typename A, typename B>
void Equal(const A& actual, const B& expected, const char* actualText, const char* expectedText,
           const char* file, int line) {
    if (actual == expected)
        return;
    std::ostringstream what;
    what << actualText << " == " << expectedText << " (got " << Printable(actual) << ", want "
         << Printable(expected) << ")";
    Fail(file, line, what.str());
}

// Runs every case, prints one line per case and the totals; the exit code for main.
inline int Run(const std::vector<Case>& cases) {
    int passed = 0;
    int failed = 0;
    for (const Case& c : cases) {
        FailuresInCase() = 0;
        c.body();
        const bool ok = FailuresInCase() == 0;
        std::printf("%s %s\n", ok ? "[pass]" : "[FAIL]", c.name);
        ++(ok ? passed : failed);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}

} // namespace check

#define CHECK(condition) ((condition) ? void() : ::check::Fail(__FILE__, __LINE__, #condition))
#define CHECK_EQ(actual, expected)                                                                 \
    ::check::Equal((actual), (expected), #actual, #expected, __FILE__, __LINE__)
// Ends the case at once: what follows depends on it.
#define REQUIRE(condition)                                                                         \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::check::Fail(__FILE__, __LINE__, #condition);                                         \
            return;                                                                                \
        }                                                                                          \
    } while (false)
