#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The character set of a text file made elsewhere: files from older Windows tools are in
// Windows-1252, newer ones in UTF-8. Texts are decoded to UTF-8 for the program and encoded
// back in the file's own character set, so a load and save keeps every byte.
enum class TextEncoding { Utf8, Windows1252 };

// The length of a UTF-8 byte order mark at the start of a file (0 or 3). Editors put one
// there; it belongs to no line, but is written back with the file.
std::size_t ByteOrderMarkLength(std::string_view bytes);

// Whether the bytes are no text: a NUL byte among the first kilobytes, which no text file
// of ours holds and almost every other file does. Such a file is refused before it is read.
bool LooksBinary(std::string_view bytes);

// UTF-8 when the bytes are valid UTF-8 (plain ASCII included), else Windows-1252.
TextEncoding DetectEncoding(std::string_view bytes);

// The bytes as UTF-8. Windows-1252 leaves five bytes undefined; they keep the control
// characters of the same code, so every byte comes back on encoding.
std::string DecodeText(std::string_view bytes, TextEncoding encoding);
// UTF-8 text in the file's character set. Characters that Windows-1252 cannot hold are
// written as "?".
std::string EncodeText(std::string_view text, TextEncoding encoding);
// Whether the character set holds every character of the UTF-8 text.
bool CanEncode(std::string_view text, TextEncoding encoding);
