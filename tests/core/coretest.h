#pragma once

#include "messages/message.h"
#include "rowname.h"

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace coretest {

using ::Name;
using ::RowName;

using Strings = std::vector<std::string>;

// The messages of every list in turn, each as "caption|text" and, for one about a line,
// " (line N)" or " (line N: quoted)".
template <typename... Lists> Strings Shown(const Lists&... lists) {
    Strings shown;
    for (const Messages* list : {&lists...})
        for (const Message& m : *list)
            shown.push_back(m.caption + '|' + m.text +
                            (m.line ? " (line " + std::to_string(m.line) +
                                          (m.quoted.empty() ? "" : ": " + m.quoted) + ')'
                                    : ""));
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
