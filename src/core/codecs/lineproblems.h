#pragma once

#include "messages/message.h"

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
    // The first problems, one a line, then how many more.
    std::string Listing() const;
};

// A file's messages as the user is shown them, each with the file's path below its text.
// The messages about lines become one, in the place of the first, with its caption and text
// and then the lines with their numbers (the first ones, and how many more), so a file full
// of bad lines gives one message, not one per line.
Messages FileMessages(const Messages& messages, const std::string& path);
