#pragma once

#include "geo/geopoint.h"
#include "messages/message.h"
#include "model/thermal.h"

#include <cstddef>
#include <string>
#include <string_view>

// A project file's text: a five-line header (the map picture and its four edges), then one
// line per thermal. The readers return their problems as messages in the order they arose
// (caption "File Error"; bad degrees with the degree parser's own) and read on where they
// can; each message names the line it is about.

struct ProjectHeader {
    // The five lines as read, each followed by a line feed, with a byte order mark before
    // line 1 kept; written back unchanged.
    std::string text;
    std::string mapFile; // line 1, as UTF-8
    GeoBounds edges;     // lines 2 to 5: the top, bottom, left and right edges
};

// The header from the start of the file; offset is left on the first thermal line.
Read<ProjectHeader> ReadProjectHeader(std::string_view data, std::size_t& offset);
// The five header lines passed over, when the file's thermals are added to a project.
Messages SkipProjectHeader(std::string_view data, std::size_t& offset);
// The thermal lines from offset on, up to the first line shorter than 25 characters. A line
// that cannot be read ends the list; the thermals before it stay. A cut line is read, and
// the first is told apart (a file whose end was lost reads so).
struct ThermalLines {
    ThermalList thermals;
    long long firstCutLine = 0; // 1-based; 0 when no line was cut
};
Read<ThermalLines> ReadThermalLines(std::string_view data, std::size_t& offset);

// The whole file as written: the header, then every thermal; lines end with CR LF.
std::string ProjectFileBytes(std::string_view headerText, const ThermalList& thermals,
                             bool saveAll);
