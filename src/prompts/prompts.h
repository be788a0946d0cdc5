#pragma once

#include "messages/message.h"

#include <optional>
#include <string>

// Every message box and file dialog of the program goes through this interface, so that
// tests can answer without a modal window. The core never calls it: its readers return
// their messages, and the layers above show them here. Texts and paths are UTF-8.
class Prompts {
public:
    // What an open or save dialog is prepared with. The filter uses the "Text|*.EXT" form
    // that the program's dialogs are described with ("Project files (*.prj)|*.PRJ").
    struct FileDialog {
        std::string filter;
        std::string defaultSuffix;
        std::string initialDir; // empty: the current working directory
    };

    virtual ~Prompts() = default;

    // A message box with the button OK. Text after the first blank line is its detail: the
    // file's path and the reason.
    virtual void message(const std::string& caption, const std::string& text) = 0;
    // Which answer a question offers first (the one Enter gives).
    enum class Preferred { yes, no };

    // A question with the buttons Yes and No; true means Yes.
    virtual bool ask(const std::string& caption, const std::string& text,
                     Preferred preferred = Preferred::yes) = 0;
    // A line of text typed into a box that starts with initial; nothing when the user
    // cancels. Without a way to ask, nothing.
    virtual std::optional<std::string> askText(const std::string& caption, const std::string& label,
                                               const std::string& initial) {
        (void)caption, (void)label, (void)initial;
        return std::nullopt;
    }
    // What becomes of unsaved work before it would be lost.
    enum class Unsaved { save, discard, cancel };
    // A question with the buttons Save, Discard and Cancel; Save is offered first.
    virtual Unsaved askUnsaved(const std::string& caption, const std::string& text) = 0;
    // The chosen file's full path, or nothing when the user cancels.
    virtual std::optional<std::string> openFile(const FileDialog& dialog) = 0;
    virtual std::optional<std::string> saveFile(const FileDialog& dialog) = 0;
};

// The process-wide prompts. Until one is installed, messages go to standard error,
// questions are answered Yes (unsaved work: Discard) and dialogs are cancelled.
Prompts& prompts();
// Installs p (not owned; nullptr restores the default) and returns the previous one.
Prompts* setPrompts(Prompts* p);

// Each message as a message box, in order.
void ShowMessages(const Messages& messages);
// A file's messages, each with its path, the bad lines gathered in one (FileMessages).
void ShowMessages(const Messages& messages, const std::string& path);
// A message about a file: the text, and below it the file's path and the reason.
void ShowFileMessage(const std::string& caption, const std::string& text, const std::string& path,
                     const std::string& reason);
