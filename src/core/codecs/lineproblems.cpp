#include "lineproblems.h"

#include "geo/numbertext.h"
#include "messages/quote.h"

void LineProblems::AddProblem(long long line, const std::string& what) {
    if (problems.size() < kListedProblems)
        problems.push_back("line " + IntText(line) + (what.empty() ? "" : ": " + what));
    ++problemCount;
}

std::string LineProblems::Report() const {
    if (problemCount == 0)
        return {};
    return IntText(static_cast<long long>(problemCount)) +
           (problemCount == 1 ? " line could not be read and was passed over:\n"
                              : " lines could not be read and were passed over:\n") +
           Listing();
}

std::string LineProblems::Listing() const {
    std::string text;
    for (const std::string& problem : problems)
        text += (text.empty() ? "" : "\n") + problem;
    if (problemCount > problems.size())
        text +=
            "\nand " + IntText(static_cast<long long>(problemCount - problems.size())) + " more.";
    return text;
}

Messages FileMessages(const Messages& messages, const std::string& path) {
    Messages shown;
    std::size_t gathered = messages.size(); // the index in shown of the lines' message
    LineProblems lines;
    for (const Message& m : messages) {
        if (m.line == 0) {
            shown.push_back({m.caption, WithDetail(m.text, path), 0, {}});
            continue;
        }
        if (gathered == messages.size()) {
            gathered = shown.size();
            shown.push_back(m);
        }
        // The first message's text heads them all and is not said again for each line.
        std::string what = m.text == shown[gathered].text ? "" : m.text;
        if (!m.quoted.empty())
            what += (what.empty() ? "\"" : " \"") + QuotedText(m.quoted) + '"';
        lines.AddProblem(m.line, what);
    }
    if (gathered < shown.size())
        shown[gathered] = {shown[gathered].caption,
                           WithDetail(shown[gathered].text, path + '\n' + lines.Listing()),
                           0,
                           {}};
    return shown;
}
