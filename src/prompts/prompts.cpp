#include "prompts.h"

#include <cstdio>

namespace {

class ConsolePrompts final : public Prompts {
public:
    void message(const QString& caption, const QString& text) override
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
    }
    bool ask(const QString&, const QString&) override { return true; }
    std::optional<QString> openFile(const FileDialog&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialog&) override { return std::nullopt; }
};

ConsolePrompts consolePrompts;
Prompts* current = &consolePrompts;

} // namespace

Prompts& prompts() { return *current; }

Prompts* setPrompts(Prompts* p)
{
    Prompts* previous = current;
    current = p ? p : &consolePrompts;
    return previous;
}
