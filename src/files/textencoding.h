#pragma once

#include <string>
#include <string_view>

#include <QString>

// The character set of a text file made elsewhere: files from older Windows tools are in
// Windows-1252, newer ones in UTF-8. Texts are decoded for display and encoded back in the
// file's own character set, so a load and save keeps every byte.
enum class TextEncoding { Utf8, Windows1252 };

// UTF-8 when the bytes are valid UTF-8 (plain ASCII included), else Windows-1252.
TextEncoding DetectEncoding(std::string_view bytes);

QString DecodeText(std::string_view bytes, TextEncoding encoding);
// Characters that Windows-1252 cannot hold are written as "?".
std::string EncodeText(const QString& text, TextEncoding encoding);
