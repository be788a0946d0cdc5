#pragma once

#include "scene/thermal.h"
#include "textencoding.h"

#include <string>

#include <QString>

class Map;
class MapView;
struct ThermalLine;

// The project file: a five-line header (map picture and its calibration), then one line
// per thermal. The header is never composed here: it is kept as read and written back.
class Project {
public:
    Project(Map& map, ThermalList& thermals);

    // Loads the header, the map and the thermals (add false), or adds the file's thermals
    // to the current ones (add true). Problems are reported in message boxes.
    void Load(const QString& fileName, MapView& panel, bool add);
    // Writes the header and every thermal; saveAll adds the cumulus and profile sections.
    void SaveTo(const QString& fileName, bool saveAll);
    void Save(bool saveAll);
    // Asks for a file name; a cancelled dialog does nothing.
    void SaveAs(bool saveAll);
    void WriteThermal(std::string& out, const TThermal& thermal, bool saveAll) const;

    // The five header lines as read, each followed by a line feed.
    QString header;
    QString fileName;
    // Ends with "/"; empty before the first load or save.
    QString folder;
    Map& map;
    ThermalList& thermals;
    bool modified = false;

private:
    void LoadHeader(std::string_view data, std::size_t& offset, MapView& panel,
                    const QString& path);
    void AddThermal(const ThermalLine& line, MapView& panel);
    void SetPlace(const QString& path);

    // The character set the header was read in, and is written back in.
    TextEncoding headerEncoding_ = TextEncoding::Utf8;
};
