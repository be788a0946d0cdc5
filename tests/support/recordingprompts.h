#pragma once

#include "prompts/prompts.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

// Test double for the prompts: records every message and question in order and answers
// questions and dialogs from a script. Installs itself for its lifetime.
class RecordingPrompts final : public Prompts {
public:
    struct Entry {
        enum Kind { Message, Question, OpenDialog, SaveDialog } kind;
        QString caption; // for dialogs: the filter
        QString text;    // for dialogs: the default suffix
        QString dir;     // for dialogs: the initial folder
    };

    RecordingPrompts();
    ~RecordingPrompts() override;
    RecordingPrompts(const RecordingPrompts&) = delete;
    RecordingPrompts& operator=(const RecordingPrompts&) = delete;

    void message(const QString& caption, const QString& text) override;
    bool ask(const QString& caption, const QString& text) override;
    std::optional<QString> openFile(const FileDialog& dialog) override;
    std::optional<QString> saveFile(const FileDialog& dialog) override;

    // Scripted answers, used in order; an unscripted question is answered Yes and an
    // unscripted dialog is cancelled.
    std::deque<bool> answers;
    std::deque<std::optional<QString>> files;

    std::vector<Entry> entries;

    // The "caption|text" of every message box (not questions), in order.
    QStringList messages() const;
    // The "caption|text" of every question, in order.
    QStringList questions() const;
    void clear() { entries.clear(); }

private:
    Prompts* previous_;
};
