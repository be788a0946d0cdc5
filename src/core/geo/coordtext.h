#pragma once

#include "messages/message.h"

#include <cstdint>
#include <string>
#include <string_view>

// Display format of latitudes and longitudes in the status bar.
enum latLonDispType : std::uint8_t { decDegrees = 0, decMins = 1, degMinSec = 2 };

// "47.5" / "N47*30'" / "N47*30'0\"" ("*" stands for the degree sign).
std::string LatText(double lat, latLonDispType format);
std::string LonText(double lon, latLonDispType format);
// The degrees part without hemisphere letter, for a value of 0 or more.
std::string DegMinText(double value, latLonDispType format);

// A position as pilots read it, to a thousandth of a minute: "46°32.596'N 7°29.230'E".
std::string RoundedPositionText(double lat, double lon);

// Number characters are the digits, ".", "+" and "-". Positions are 1-based.
bool IsNumberChar(char c);
// First position from p on that holds a number character (length + 1 when none does);
// a p beyond the end is returned unchanged.
int FindNumberStart(std::string_view text, int p);
// First position from p on that does not hold a number character (length + 1 at the end);
// a p beyond the end is returned unchanged.
int FindNumberEnd(std::string_view text, int p);

// Degrees, any separator, minutes and a hemisphere letter right after the minutes
// ("47:30.500N", "8 15.25E", "47*30.5S"). Each failed step gives its message (caption
// "Error", the text quoted) and parsing goes on with what the step left, so the value is
// always a finite number; the caller decides what to make of it.
Read<double> ParseDegrees(std::string_view text);
