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

Prompts::Unsaved RecordingPrompts::askUnsaved(const std::string& caption, const std::string& text) {
    entries.push_back({Entry::Question, caption, text});
    if (unsaved.empty())
        return Unsaved::discard;
    const Unsaved answer = unsaved.front();
    unsaved.pop_front();
    return answer;
}

std::optional<std::string> RecordingPrompts::nextFile(Entry::Kind kind, const FileDialog& dialog) {
    entries.push_back({kind, dialog.filter, dialog.defaultSuffix});
    return files.empty() ? std::nullopt : next(files);
}

std::vector<std::string> RecordingPrompts::messages() const {
    std::vector<std::string> out = joined(Entry::Message);
    for (std::string& m : out)
        m = m.substr(0, m.find("\n\n"));
    return out;
}

std::vector<std::string> RecordingPrompts::joined(Entry::Kind kind) const {
    std::vector<std::string> out;
    for (const Entry& e : entries)
        if (e.kind == kind)
            out.push_back(e.caption + '|' + e.text);
    return out;
}
