#pragma once

#include <string>
#include <vector>

// One message box's worth of news for the user: its caption and text. A message about one
// line of a file also carries that line's number and the text it is about, so that whoever
// shows it can say where, or gather the messages of several lines into one.
struct Message {
    std::string caption;
    std::string text;
    long long line = 0; // 1-based; 0 when it is about no single line
    std::string quoted; // the text it is about, as it stood; empty when none
};
using Messages = std::vector<Message>;

// A message's text with what the user needs to act on it below, after a blank line: the
// file's path and the system's reason, or the tool and the folder searched.
inline std::string WithDetail(const std::string& text, const std::string& detail) {
    return text + "\n\n" + detail;
}

// What a reader made of its input, with the messages in the order they arose. Every
// message tells of something that was not read as meant: a read without one is complete.
template <class T> struct Read {
    T value{};
    Messages messages;

    bool complete() const { return messages.empty(); }
};
