#pragma once

#include "prompts/prompts.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// A property every input must keep; a broken one is a finding like a crash.
inline void Check(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

// Every message has something to say.
inline void CheckMessages(const Messages& messages) {
    for (const Message& m : messages)
        Check(!m.caption.empty() && !m.text.empty(), "every message has something to say");
}

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Prompts for the fuzz targets, installed for their lifetime: messages are only counted
// (millions of inputs would fill memory and the terminal), questions are answered Yes and
// dialogs cancelled.
class SilentPrompts final : public Prompts {
public:
    SilentPrompts()
        : previous_(setPrompts(this)) {}
    ~SilentPrompts() override { setPrompts(previous_); }

    void message(const std::string& caption, const std::string& text) override {
        Check(!caption.empty() && !text.empty(), "every message has something to say");
        ++messages;
    }
    bool ask(const std::string&, const std::string&, Preferred) override { return true; }
    std::optional<std::string> openFile(const FileDialog&) override { return {}; }
    std::optional<std::string> saveFile(const FileDialog&) override { return {}; }

    long messages = 0;

private:
    Prompts* previous_;
};
