#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Field routines of every file format. Positions are 1-based and advanced in place.
// Files are read whole into memory and written from a buffer, so these work on text.

// The next line of data from offset on, without its line end and with every carriage
// return dropped; offset moves past the line feed. An empty line and the end of the data
// both give an empty text.
std::string ReadLine(std::string_view data, std::size_t& offset);
// The same line without a copy where none is needed: a view into data when the line holds no
// carriage return before its end, otherwise the line copied into scratch.
std::string_view ReadLineView(std::string_view data, std::size_t& offset, std::string& scratch);

// The next number run from p on ("-1" when the text is used up, that is when its length
// is not greater than p; an empty text when only non-number characters remain).
std::string_view NextNumber(std::string_view text, int& p);

// The next field: skips the character at p (normally the previous delimiter) and returns
// the characters up to the next delimiter; p is left on that delimiter. An empty text when
// the length is not greater than p.
std::string_view NextToken(std::string_view text, int& p, char delimiter);

// Append one field: the number text followed by "\n" when lineEnd is set, else by the
// separator. Line feeds are written as in memory; TextModeBytes gives the disk form.
void WriteIntField(std::string& out, int value, bool lineEnd, std::string_view separator);
void WriteFloatField(std::string& out, float value, bool lineEnd, std::string_view separator);

// What a text-mode write puts on disk: every line feed becomes CR LF (so "\r\n" becomes
// CR CR LF, as the scenery outputs require).
std::string TextModeBytes(std::string_view text);
