#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text from a file as a message shows it: at most maxCharacters characters, then "..." when
// there was more; bytes that are not printable UTF-8 (control bytes, a broken sequence) as
// "\xNN", so a binary file cannot fill a message box with noise.
std::string QuotedText(std::string_view text, std::size_t maxCharacters = 60);
