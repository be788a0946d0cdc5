#include "recordingprompts.h"

RecordingPrompts::RecordingPrompts()
    : previous_(setPrompts(this))
{
}

RecordingPrompts::~RecordingPrompts() { setPrompts(previous_); }

void RecordingPrompts::message(const QString& caption, const QString& text)
{
    entries.push_back({Entry::Message, caption, text, {}});
}

bool RecordingPrompts::ask(const QString& caption, const QString& text)
{
    entries.push_back({Entry::Question, caption, text, {}});
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> RecordingPrompts::openFile(const FileDialog& dialog)
{
    entries.push_back({Entry::OpenDialog, dialog.filter, dialog.defaultSuffix, dialog.initialDir});
    if (files.empty())
        return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
}

std::optional<QString> RecordingPrompts::saveFile(const FileDialog& dialog)
{
    entries.push_back({Entry::SaveDialog, dialog.filter, dialog.defaultSuffix, dialog.initialDir});
    if (files.empty())
        return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
}

static QStringList joined(const std::vector<RecordingPrompts::Entry>& entries,
                          RecordingPrompts::Entry::Kind kind)
{
    QStringList out;
    for (const auto& e : entries)
        if (e.kind == kind)
            out << e.caption + '|' + e.text;
    return out;
}

QStringList RecordingPrompts::messages() const { return joined(entries, Entry::Message); }
QStringList RecordingPrompts::questions() const { return joined(entries, Entry::Question); }
