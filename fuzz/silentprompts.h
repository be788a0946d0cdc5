#pragma once

#include "prompts/prompts.h"

// Prompts for the fuzz targets: messages are only counted (millions of inputs would fill
// memory and the terminal), questions are answered Yes and dialogs cancelled. Installs
// itself for its lifetime.
class SilentPrompts final : public Prompts {
public:
    SilentPrompts();
    ~SilentPrompts() override;
    SilentPrompts(const SilentPrompts&) = delete;
    SilentPrompts& operator=(const SilentPrompts&) = delete;

    void message(const std::string& caption, const std::string& text) override;
    bool ask(const std::string& caption, const std::string& text, Preferred preferred) override;
    std::optional<std::string> openFile(const FileDialog& dialog) override;
    std::optional<std::string> saveFile(const FileDialog& dialog) override;

    long messages = 0;

private:
    Prompts* previous_;
};
