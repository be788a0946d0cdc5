#pragma once

#include "codecs/waypointfile.h"
#include "flight/climbthermal.h"
#include "geo/geopoint.h"
#include "map/map.h"
#include "model/thermal.h"
#include "model/waypoint.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QObject>
#include <QString>

// The open dialog's filter for the files that waypoints are imported from.
inline constexpr const char* kWaypointImportFilter =
    "Waypoint files (*.cup *.gpx *.dat)|*.cup;*.gpx;*.dat";

// What the user works on: the map, the thermals and waypoints, the project and waypoint
// files they came from and whether they hold unsaved changes. Everything that adds to or
// removes from the lists goes through here, so that the glyphs, the profiler and the
// modified flags hear of it. Problems are reported through the prompts.

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    Map& map() { return map_; }
    const Map& map() const { return map_; }
    const ThermalList& thermals() const { return thermals_; }
    const WaypointList& waypoints() const { return waypoints_; }

    // A new thermal with the given values at a position; the project counts as modified.
    Thermal& AddThermal(GeoPoint at, const ThermalSettings& values);
    // Thermals made from a flight's climbs, added in one step; the project counts as
    // modified.
    void AddThermals(const std::vector<ClimbThermal>& thermals);
    // "Set Data": the values applied to a thermal; the project counts as modified.
    void SetThermalData(Thermal& thermal, const ThermalSettings& values);
    // A new waypoint named (and described) name, or the next free name when a waypoint has
    // it already, with the next free ID and the attributes "T"; the waypoints count as
    // modified.
    Waypoint& AddWaypoint(GeoPoint at, const std::string& name);
    // The waypoint's new name, refused with a message when it holds a comma or a line break;
    // the waypoints count as modified. False when nothing was renamed.
    bool RenameWaypoint(const Waypoint* waypoint, const std::string& name);
    // The thermal or waypoint, looked up by identity; false when it is not in its list.
    // Either counts as a change.
    bool DeleteThermal(const Thermal* thermal);
    bool DeleteWaypoint(const Waypoint* waypoint);
    // Every thermal or waypoint; no question, no flag.
    void ClearThermals();
    void ClearWaypoints();

    // The project file: load (add false: the header, the map and the thermals, to be
    // placed on cleared lists) or add its thermals to the current ones (add true). Problems
    // are shown as they are met; false when there was one, so the file was not read whole.
    bool LoadProject(const QString& path, bool add);
    // A new project on the picture at picturePath (absolute) placed by edges: the map is
    // loaded, the thermal and waypoint lists are cleared, and the project counts as modified
    // until it is saved. Its header names the picture relative to the folder the project is
    // saved in, so the name is composed at every save. A picture that cannot be loaded
    // changes nothing and gives false.
    bool NewProjectFromMap(const QString& picturePath, const GeoBounds& edges);
    // A new project as above on a picture the program made, with folder as the save
    // dialog's first folder. The picture goes into a file of its own beside the project
    // file, under the project's name with ".png", when the project is first saved.
    void NewProjectOnPicture(const QImage& picture, const GeoBounds& edges, const QString& folder);
    // Saves to the project file; a new project that has none yet asks for one.
    void SaveProject(bool saveAll);
    // False when nothing was written: the user kept the file, or the save failed.
    bool SaveProjectTo(const QString& path, bool saveAll);
    // Asks for a file name; a cancelled dialog does nothing.
    void SaveProjectAs(bool saveAll);
    // The waypoint file: its waypoints are added to the (cleared) list.
    void LoadWaypoints(const QString& path);
    // The waypoints of a SeeYou (.cup), GPX (.gpx) or waypoint (.dat) file join the list as
    // if added one by one: new IDs after the highest, waypointsAdded, the waypoints count as
    // modified. What could not be read is reported in one message.
    void ImportWaypoints(const QString& path);
    void SaveWaypoints();
    void SaveWaypointsTo(const QString& path);
    void SaveWaypointsAs();

    const QString& projectFileName() const { return project_.fileName; }
    // The project file's full path; only the folder while a new project has none.
    QString projectPath() const { return project_.Path(); }
    // Ends with "/"; empty before the first load or save.
    const QString& projectFolder() const { return project_.folder; }
    const QString& waypointFileName() const { return waypointFile_.fileName; }
    const QString& waypointFolder() const { return waypointFile_.folder; }
    bool projectModified() const { return project_.modified; }
    bool waypointsModified() const { return waypointFile_.modified; }
    // Waypoints given up with a project load are no longer unsaved work.
    void ForgetWaypointChanges() { SetModified(waypointFile_, false); }
    void MarkProjectModified() { SetModified(project_, true); }
    void MarkWaypointsModified() { SetModified(waypointFile_, true); }
    // The file was not read completely (a load reported a problem): saving onto it would
    // lose what was not read, so a save there asks first.
    bool projectIncomplete() const { return project_.incomplete; }
    bool waypointsIncomplete() const { return waypointFile_.incomplete; }

signals:
    // The thermals (waypoints) from index first to the end of the list are new.
    void thermalsAdded(std::size_t first);
    void waypointsAdded(std::size_t first);
    // Sent before a thermal (waypoint) is destroyed; null before the whole list is.
    void thermalRemoving(const Thermal* thermal);
    void waypointRemoving(const Waypoint* waypoint);
    // The project or the waypoints became modified, or saved or loaded.
    void modifiedChanged();
    // Something worth a word in the status bar.
    void note(const QString& text);

private:
    struct FilePlace {
        QString fileName;
        QString folder;
        bool modified = false;
        bool incomplete = false;
        void Set(const QString& path);
        QString Path() const { return folder + fileName; }
        // False when the user does not want a file that was not read completely replaced.
        bool MaySaveTo(const QString& path, const char* what) const;
    };

    void AppendThermals(ThermalList added);
    void SetModified(FilePlace& place, bool modified);

    Map map_;
    ThermalList thermals_;
    WaypointList waypoints_;
    FilePlace project_;
    std::string projectHeader_;
    // The picture and edges of a project made from a map, until another project is loaded.
    struct NewMap {
        QString picturePath; // empty while the picture is not in a file
        GeoBounds edges;
        QImage unsaved;
    };
    void StartNewProject(NewMap map, const QString& folder);
    // Writes an unsaved picture beside the project file about to be written at path.
    bool SaveNewPicture(const QString& path);
    std::optional<NewMap> newMap_;
    FilePlace waypointFile_;
    WaypointFileFrame waypointFrame_;
};
