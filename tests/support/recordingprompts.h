#pragma once

#include "prompts/prompts.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Test double for the prompts: records every message and question in order and answers
// questions and dialogs from a script. Installs itself for its lifetime.
class RecordingPrompts final : public Prompts {
public:
    struct Entry {
        enum Kind { Message, Question, OpenDialog, SaveDialog, TextBox } kind;
        std::string caption;   // for dialogs: the filter
        std::string text;      // for dialogs: the default suffix
        bool preferNo = false; // for questions: No is offered first
    };

    RecordingPrompts()
        : previous_(setPrompts(this)) {}
    ~RecordingPrompts() override { setPrompts(previous_); }
    RecordingPrompts(const RecordingPrompts&) = delete;
    RecordingPrompts& operator=(const RecordingPrompts&) = delete;

    void message(const std::string& caption, const std::string& text) override {
        entries.push_back({Entry::Message, caption, text});
    }
    bool ask(const std::string& caption, const std::string& text, Preferred preferred) override {
        entries.push_back({Entry::Question, caption, text, preferred == Preferred::no});
        return answers.empty() || next(answers);
    }
    std::optional<std::string> askText(const std::string& caption, const std::string& label,
                                       const std::string& initial) override {
        entries.push_back({Entry::TextBox, caption, label + '|' + initial});
        return texts.empty() ? std::nullopt : next(texts);
    }
    Unsaved askUnsaved(const std::string& caption, const std::string& text) override {
        entries.push_back({Entry::Question, caption, text});
        return unsaved.empty() ? Unsaved::discard : next(unsaved);
    }
    std::optional<std::string> openFile(const FileDialog& dialog) override {
        return nextFile(Entry::OpenDialog, dialog);
    }
    std::optional<std::string> saveFile(const FileDialog& dialog) override {
        return nextFile(Entry::SaveDialog, dialog);
    }

    // Scripted answers, used in order; an unscripted question is answered Yes (unsaved work:
    // Discard) and an unscripted dialog or text box is cancelled.
    std::deque<bool> answers;
    std::deque<Unsaved> unsaved;
    std::deque<std::optional<std::string>> files;
    std::deque<std::optional<std::string>> texts;

    std::vector<Entry> entries;

    // The "caption|text" of every message box (not questions), in order, without the detail
    // below the text's first blank line.
    std::vector<std::string> messages() const;
    // The same with the detail: the path and the reason.
    std::vector<std::string> detailed() const { return joined(Entry::Message); }
    // The "caption|text" of every question, in order.
    std::vector<std::string> questions() const { return joined(Entry::Question); }
    void clear() { entries.clear(); }

private:
    template <typename Answer> static Answer next(std::deque<Answer>& answers) {
        Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> nextFile(Entry::Kind kind, const FileDialog& dialog);
    std::vector<std::string> joined(Entry::Kind kind) const;

    Prompts* previous_;
};
