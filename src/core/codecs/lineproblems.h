#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline constexpr std::size_t kListedProblems = 10;

// The lines of a file that could not be read: the first ones, each "line N: what", and how
// many there were in all, so that a hostile file's millions of bad lines cost a counter, not
// memory.
struct LineProblems {
    std::vector<std::string> problems;
    std::size_t problemCount = 0;

    void AddProblem(long long line, const std::string& what);
    // One message for every problem: the first ones, then how many more; empty when none.
    std::string Report() const;
};
