#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// A property every input must keep; a broken one is a finding like a crash.
inline void Check(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}
