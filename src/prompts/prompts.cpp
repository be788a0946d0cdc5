#include "prompts.h"

#include "codecs/lineproblems.h"

#include <cstdio>

namespace {

class ConsolePrompts final : public Prompts {
public:
    void message(const std::string& caption, const std::string& text) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
    bool ask(const std::string&, const std::string&, Preferred) override { return true; }
    Unsaved askUnsaved(const std::string&, const std::string&) override { return Unsaved::discard; }
    std::optional<std::string> openFile(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const FileDialog&) override { return std::nullopt; }
};

ConsolePrompts consolePrompts;
Prompts* current = &consolePrompts;

} // namespace

Prompts& prompts() {
    return *current;
}

Prompts* setPrompts(Prompts* p) {
    Prompts* previous = current;
    current = p ? p : &consolePrompts;
    return previous;
}

void ShowMessages(const Messages& messages) {
    for (const Message& m : messages)
        prompts().message(m.caption, m.text);
}

void ShowMessages(const Messages& messages, const std::string& path) {
    ShowMessages(FileMessages(messages, path));
}

void ShowFileMessage(const std::string& caption, const std::string& text, const std::string& path,
                     const std::string& reason) {
    prompts().message(caption, WithDetail(text, path + '\n' + reason));
}
