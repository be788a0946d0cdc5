#include "silentprompts.h"

SilentPrompts::SilentPrompts()
    : previous_(setPrompts(this)) {}

SilentPrompts::~SilentPrompts() {
    setPrompts(previous_);
}

void SilentPrompts::message(const QString& caption, const QString& text) {
    // Every message must have something to say.
    if (caption.isEmpty() || text.isEmpty())
        __builtin_trap();
    ++messages;
}

bool SilentPrompts::ask(const QString&, const QString&) {
    return true;
}

std::optional<QString> SilentPrompts::openFile(const FileDialog&) {
    return std::nullopt;
}

std::optional<QString> SilentPrompts::saveFile(const FileDialog&) {
    return std::nullopt;
}
