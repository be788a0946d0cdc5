#include "recordingprompts.h"

RecordingPrompts::RecordingPrompts()
    : previous_(setPrompts(this)) {}

RecordingPrompts::~RecordingPrompts() {
    setPrompts(previous_);
}

void RecordingPrompts::message(const std::string& caption, const std::string& text) {
    entries.push_back({Entry::Message, caption, text, {}});
}

bool RecordingPrompts::ask(const std::string& caption, const std::string& text,
                           Preferred preferred) {
    entries.push_back({Entry::Question, caption, text, {}, preferred == Preferred::no});
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> RecordingPrompts::nextFile() {
    if (files.empty())
        return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
}

std::optional<std::string> RecordingPrompts::openFile(const FileDialog& dialog) {
    entries.push_back({Entry::OpenDialog, dialog.filter, dialog.defaultSuffix, dialog.initialDir});
    return nextFile();
}

std::optional<std::string> RecordingPrompts::saveFile(const FileDialog& dialog) {
    entries.push_back({Entry::SaveDialog, dialog.filter, dialog.defaultSuffix, dialog.initialDir});
    return nextFile();
}

namespace {

std::vector<std::string> Joined(const std::vector<RecordingPrompts::Entry>& entries,
                                RecordingPrompts::Entry::Kind kind) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        if (e.kind == kind)
            out.push_back(e.caption + '|' + e.text);
    return out;
}

} // namespace

std::vector<std::string> RecordingPrompts::messages() const {
    return Joined(entries, Entry::Message);
}
std::vector<std::string> RecordingPrompts::questions() const {
    return Joined(entries, Entry::Question);
}
