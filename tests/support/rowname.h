#pragma once

#include <ostream>
#include <string>
#include <tuple>

// Table rows are named structs whose `name` is the row's readable name, or tuples whose first
// element is a `Name`; a row prints as its name.
struct Name {
    Name(const char* name)
        : text(name) {}
    const char* text;
};
template <typename... Columns>
void PrintTo(const std::tuple<Name, Columns...>& row, std::ostream* os) {
    *os << std::get<0>(row).text;
}
inline constexpr auto RowName = [](const auto& info) {
    if constexpr (requires { info.param.name; })
        return std::string(info.param.name);
    else
        return std::string(std::get<0>(info.param).text);
};
