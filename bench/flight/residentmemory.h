#pragma once

#include <fstream>
#include <string>

// The resident memory of a process in kB, from /proc ("self" for this one); -1 when unknown.
inline long ResidentKb(const std::string& pid = "self") {
    std::ifstream status("/proc/" + pid + "/status");
    std::string word;
    while (status >> word)
        if (word == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    return -1;
}
