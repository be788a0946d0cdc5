#pragma once

#include "codecs/waypointfile.h"
#include "document/steps.h"
#include "flight/climbthermal.h"
#include "geo/geopoint.h"
#include "map/map.h"
#include "model/thermal.h"
#include "model/waypoint.h"

#include <cstddef>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <QImage>
#include <QObject>
#include <QString>
#include <QUndoStack>

// The open dialog's filter for the files that waypoints are imported from.
inline constexpr const char* kWaypointImportFilter =
    "Waypoint files (*.cup *.gpx *.dat)|*.cup;*.gpx;*.dat";

// What the user works on: the map, the thermals and waypoints, the project and waypoint
// files they came from and whether they hold unsaved changes. Everything that adds to,
// removes from or changes the lists goes through here, as one step of the history, so
// that the glyphs, the profiler and the modified flags hear of it and an undo puts it
// back exactly. Problems are reported through the prompts.

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    Map& map() { return map_; }
    const Map& map() const { return map_; }
    const ThermalList& thermals() const { return thermals_; }
    const WaypointList& waypoints() const { return waypoints_; }
    // Every change to the thermals and waypoints since the project or waypoint file was
    // loaded, as steps to undo and redo.
    QUndoStack& history() { return history_; }

    // A new thermal with the given values and ground height at a position.
    Thermal& AddThermal(GeoPoint at, const ThermalSettings& values, int groundHeightM = 0);
    // Thermals made from a flight's climbs, added as one step.
    void AddThermals(const std::vector<ClimbThermal>& thermals);
    // "Set Data": the values applied to a thermal of the list.
    void SetThermalData(const Thermal& thermal, const ThermalSettings& values);
    // A new waypoint named (and described) name, or the next free name when a waypoint has
    // it already, with the next free ID and the attributes "T".
    Waypoint& AddWaypoint(GeoPoint at, const std::string& name, int groundHeightM = 0);
    // The waypoint's new name, refused with a message when it holds a comma or a line break.
    // False when nothing was renamed.
    bool RenameWaypoint(const Waypoint* waypoint, const std::string& name);
    // The thermal or waypoint, looked up by identity; false when it is not in its list.
    bool DeleteThermal(const Thermal* thermal);
    bool DeleteWaypoint(const Waypoint* waypoint);
    bool MoveThermal(const Thermal* thermal, GeoPoint to);
    bool MoveWaypoint(const Waypoint* waypoint, GeoPoint to);
    // "Clear All": every thermal or waypoint, as one step.
    void ClearAllThermals();
    void ClearAllWaypoints();
    // New values for thermals by their place in the list, as one step named what; nothing
    // when there are none.
    void ChangeThermals(const QString& what, ThermalValues values);
    // Every thermal or waypoint destroyed before a load, with the history: no step.
    void ClearThermals();
    void ClearWaypoints();

    // The project file: load (add false: the header, the map and the thermals, to be
    // placed on cleared lists, with a new history) or add its thermals to the current ones
    // (add true, one step). Problems are shown as they are met; false when there was one, so
    // the file was not read whole.
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
    // Saves to the project file; a new project that has none yet asks for one. False when
    // nothing was written: the user kept the file or cancelled, or the save failed.
    bool SaveProject(bool saveAll);
    bool SaveProjectTo(const QString& path, bool saveAll);
    // Asks for a file name; a cancelled dialog does nothing (and gives false).
    bool SaveProjectAs(bool saveAll);
    // The waypoint file: its waypoints are added to the (cleared) list, with a new history.
    void LoadWaypoints(const QString& path);
    // The waypoints of a SeeYou (.cup), GPX (.gpx) or waypoint (.dat) file join the list as
    // one step, as if added one by one: new IDs after the highest. What could not be read
    // is reported in one message.
    void ImportWaypoints(const QString& path);
    // As the project's saves; a waypoint list that has no file yet asks for one.
    bool SaveWaypoints();
    bool SaveWaypointsTo(const QString& path);
    bool SaveWaypointsAs();

    const QString& projectFileName() const { return project_.fileName; }
    // The project file's full path; only the folder while a new project has none.
    QString projectPath() const { return project_.Path(); }
    // Ends with "/"; empty before the first load or save.
    const QString& projectFolder() const { return project_.folder; }
    const QString& waypointFileName() const { return waypointFile_.fileName; }
    const QString& waypointFolder() const { return waypointFile_.folder; }
    // Whether the lists differ from the file as last loaded or saved: a step done or undone
    // since then changed them (undoing back to the saved state is no change).
    bool projectModified() const { return Modified(project_, DocumentStep::File::project); }
    bool waypointsModified() const {
        return Modified(waypointFile_, DocumentStep::File::waypoints);
    }
    // Waypoints given up with a project load are no longer unsaved work.
    void ForgetWaypointChanges();
    // The file was not read completely (a load reported a problem): saving onto it would
    // lose what was not read, so a save there asks first.
    bool projectIncomplete() const { return project_.incomplete; }
    bool waypointsIncomplete() const { return waypointFile_.incomplete; }

signals:
    // The count thermals (waypoints) from index first on are new in the list.
    void thermalsAdded(std::size_t first, std::size_t count);
    void waypointsAdded(std::size_t first, std::size_t count);
    // Sent before the count thermals (waypoints) from index first on leave the list, to be
    // destroyed or kept by the history.
    void thermalsRemoving(std::size_t first, std::size_t count);
    void waypointsRemoving(std::size_t first, std::size_t count);
    // Either modified flag may have changed.
    void modifiedChanged();
    // Something worth a word in the status bar.
    void note(const QString& text);

private:
    template <class T> friend class ListStep;
    template <class T> friend class ValueStep;

    struct FilePlace {
        QString fileName;
        QString folder;
        // Where in the history the lists matched the file; none once that state is gone.
        std::optional<int> savedAt = 0;
        bool incomplete = false;
        void Set(const QString& path);
        QString Path() const { return folder + fileName; }
        // False when the user does not want a file that was not read completely replaced.
        bool MaySaveTo(const QString& path, const char* what) const;
    };

    bool Modified(const FilePlace& place, DocumentStep::File file) const;
    void MarkSaved(FilePlace& place);
    // The history starts anew; a file with unsaved changes stays modified until saved.
    void ForgetHistory();
    void Push(DocumentStep* step);
    template <class T> std::vector<std::unique_ptr<T>>& ListOf() {
        if constexpr (std::is_same_v<T, Thermal>)
            return thermals_;
        else
            return waypoints_;
    }
    // Moves run into the list at index at.
    template <class T> void Put(std::vector<std::unique_ptr<T>>& run, std::size_t at);
    // Moves count values from index at out of the list into run; they leave the screen.
    template <class T>
    void Take(std::vector<std::unique_ptr<T>>& run, std::size_t at, std::size_t count);
    // Appends values as one step named what.
    template <class T> void Append(const QString& what, std::vector<std::unique_ptr<T>> added);
    template <class T> bool Delete(const QString& what, const T* value);
    // A copy of the value, edited, as one step named what; nothing when the value is not in
    // its list or the edit changes nothing (returns false).
    template <class T, class Edit> bool ChangeOne(const QString& what, const T* value, Edit edit);
    template <class T>
    void Change(const QString& what, std::vector<std::pair<std::size_t, T>> values);
    template <class T> void DestroyAll();

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
    // Goes before the lists: its steps hold values that left them.
    QUndoStack history_;
};
