#pragma once

#include "messages/message.h"
#include "units.h"

#include <string>
#include <string_view>

// A latitude or longitude on screen, with the degree sign and rounded as a pilot reads it:
// "N46°32.616'" (minutes to a thousandth), "N46°32'37.0\"" (seconds to a tenth) or
// "46.54359°" (degrees to five places, negative south and west). Files keep their own texts.
std::string LatText(double lat, latLonDispType format);
std::string LonText(double lon, latLonDispType format);
// Both, latitude first: "N46°32.616' E7°29.230'".
std::string PositionText(double lat, double lon, latLonDispType format);

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
