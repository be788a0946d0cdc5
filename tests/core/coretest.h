#pragma once

#include "messages/message.h"

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace coretest {

// Table rows are tuples whose first element is the row's readable name; a row prints as it.
struct Name {
    Name(const char* name)
        : text(name) {}
    const char* text;
};
template <typename... Columns>
void PrintTo(const std::tuple<Name, Columns...>& row, std::ostream* os) {
    *os << std::get<0>(row).text;
}
// Rows that are structs carry their name in the member name.
inline constexpr auto RowName = [](const auto& info) {
    if constexpr (requires { info.param.name; })
        return std::string(info.param.name);
    else
        return std::string(std::get<0>(info.param).text);
};

using Strings = std::vector<std::string>;

// Each message as "caption|text", with " (line N)" when it is about one line, in order.
inline Strings Shown(const Messages& messages) {
    Strings shown;
    for (const Message& m : messages)
        shown.push_back(m.caption + '|' + m.text +
                        (m.line > 0 ? " (line " + std::to_string(m.line) + ')' : ""));
    return shown;
}

// A file of the repository (relative to tests/data), read as stored.
inline std::string Fixture(const std::string& relative) {
    std::ifstream in(std::string(BREVAN_TEST_DATA) + '/' + relative, std::ios::binary);
    if (!in)
        ADD_FAILURE() << "cannot open " << relative;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace coretest
