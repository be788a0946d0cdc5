#include "recordingprompts.h"

bool RecordingPrompts::ask(const std::string& caption, const std::string& text,
                           Preferred preferred) {
    entries.push_back({Entry::Question, caption, text, preferred == Preferred::no});
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> RecordingPrompts::nextFile(Entry::Kind kind, const FileDialog& dialog) {
    entries.push_back({kind, dialog.filter, dialog.defaultSuffix});
    if (files.empty())
        return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
}

std::vector<std::string> RecordingPrompts::joined(Entry::Kind kind) const {
    std::vector<std::string> out;
    for (const Entry& e : entries)
        if (e.kind == kind)
            out.push_back(e.caption + '|' + e.text);
    return out;
}
