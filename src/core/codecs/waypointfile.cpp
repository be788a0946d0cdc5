#include "waypointfile.h"

#include "geo/textfields.h"
#include "waypointline.h"

#include <algorithm>

Read<WaypointFileContent> ReadWaypointFile(std::string_view data) {
    Read<WaypointFileContent> result;
    WaypointFileContent& content = result.value;
    WaypointFileFrame& frame = content.frame;
    frame.encoding = DetectEncoding(data);

    std::size_t offset = ByteOrderMarkLength(data);
    std::size_t lineStart = offset;
    long long number = 0;
    std::string line;
    const auto next = [&] {
        lineStart = offset;
        line = ReadLine(data, offset);
        ++number;
    };
    next();
    while (IsCommentLine(line))
        next();
    frame.header = data.substr(0, lineStart);
    while (IsWaypointLine(line)) {
        const auto parsed = ParseWaypointLine(line);
        if (!parsed) {
            result.messages.push_back(
                {"File Error", "Error with Dat File", number, DecodeText(line, frame.encoding)});
            break;
        }
        auto w = std::make_unique<Waypoint>();
        w->SetID(parsed->id);
        w->SetLat(parsed->lat);
        w->SetLon(parsed->lon);
        w->SetGroundHeight(parsed->groundHeight);
        w->SetAttributes(DecodeText(parsed->attributes, frame.encoding));
        w->SetName(DecodeText(parsed->name, frame.encoding));
        w->SetText(DecodeText(parsed->text, frame.encoding));
        // A last line without its line end gets one, so that what a save puts after it
        // starts a line of its own.
        std::string source(data.substr(lineStart, offset - lineStart));
        if (!source.ends_with('\n'))
            source += "\r\n";
        w->KeepSourceLine(DecodeText(source, frame.encoding));
        content.waypoints.push_back(std::move(w));
        next();
    }
    // From the first line that is not a waypoint (or the one that could not be read) to
    // the end, so that a save loses nothing of the file.
    frame.trailer = data.substr(lineStart);
    return result;
}

std::string WaypointFileBytes(const WaypointFileFrame& frame, const WaypointList& waypoints) {
    std::string out = frame.header;
    for (const auto& w : waypoints) {
        if (!w->SourceLine().empty())
            out += EncodeText(w->SourceLine(), frame.encoding);
        else
            AppendWaypointLine(out, {w->tID, w->lat, w->lon, w->tGroundHeight,
                                     EncodeText(w->tAttributes, frame.encoding),
                                     EncodeText(w->tName, frame.encoding),
                                     EncodeText(w->tText, frame.encoding)});
    }
    out += frame.trailer;
    return out;
}

bool FitsEncoding(const WaypointFileFrame& frame, const WaypointList& waypoints) {
    return std::all_of(waypoints.begin(), waypoints.end(), [&frame](const auto& w) {
        return CanEncode(w->tAttributes, frame.encoding) && CanEncode(w->tName, frame.encoding) &&
               CanEncode(w->tText, frame.encoding);
    });
}

WaypointFileFrame InUtf8(const WaypointFileFrame& frame) {
    return {DecodeText(frame.header, frame.encoding), DecodeText(frame.trailer, frame.encoding),
            TextEncoding::Utf8};
}
