#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

// A folder of the test's own, removed with what it holds when the object goes.
struct Scratch {
    std::string dir = [] {
        std::string pattern = std::filesystem::temp_directory_path() / "brevanXXXXXX";
        return ::mkdtemp(pattern.data()) ? pattern : std::string();
    }();
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string Path(const std::string& name) const { return dir + "/" + name; }
};
