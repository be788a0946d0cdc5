#include "recordingprompts.h"

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
