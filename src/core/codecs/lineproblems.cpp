#include "lineproblems.h"

#include "geo/numbertext.h"

void LineProblems::AddProblem(long long line, const std::string& what) {
    if (problems.size() < kListedProblems)
        problems.push_back("line " + IntText(line) + ": " + what);
    ++problemCount;
}

std::string LineProblems::Report() const {
    if (problemCount == 0)
        return {};
    std::string text = IntText(static_cast<long long>(problemCount)) +
                       (problemCount == 1 ? " line could not be read and was passed over:"
                                          : " lines could not be read and were passed over:");
    for (const std::string& problem : problems)
        text += '\n' + problem;
    if (problemCount > problems.size())
        text +=
            "\nand " + IntText(static_cast<long long>(problemCount - problems.size())) + " more.";
    return text;
}
