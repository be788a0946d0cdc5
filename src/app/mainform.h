#pragma once

#include "app/commands.h"
#include "app/livetracking.h"
#include "document/document.h"
#include "flight/climbs.h"
#include "flight/flighttrack.h"
#include "flight/igcwriter.h"
#include "geo/coordtext.h"
#include "geo/units.h"

#include <array>
#include <memory>

#include <QMainWindow>
#include <QString>
#include <QStringList>

class ClimbsWindow;
class FlightRecorder;
class FlightTrackItem;
class MapView;
struct DroppedFiles;
class QAction;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMenu;
class QSettings;
class QTimer;
class SceneryRun;
enum class SceneryKind;
class SimLink;
class TAbout;
class TRandomizeForm;
class TThermalData;
class TacCursor;
class ThermalAreas;
class TrailItem;

// The program's main window: menus and toolbar from the command table, the map panel with
// the aircraft cursor, the status bar, and the commands on the document and at the
// aircraft. It owns the document and the live tracking, and creates the Thermal Data,
// About and Randomize Thermals windows after itself.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // makeLink makes the simulator link for the read interval of the settings file at
    // settingsPath ([Timers] for the live tracking, [ACCursor] for the cursor). The user's
    // choices (units, formats, click mode, window geometry, recent files) are remembered in
    // the file at statePath; none when it is empty.
    TMainForm(const LiveTracking::LinkFactory& makeLink, const QString& settingsPath,
              const QString& statePath = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    static QString BaseCaption() { return QStringLiteral("Brevan Talvor 1.0 beta 1   "); }

    // LoadProject and LoadDat ask their questions and show the open dialog; the ...File
    // forms load a chosen file (also one named on the command line or dropped).
    void LoadProject(bool add);
    void LoadDat();
    void LoadProjectFile(const QString& path, bool add);
    // File > New Project from Map: a picture whose edges come from its world file, its
    // GeoTIFF tags, or the pilot.
    void NewProjectFromMap();
    void LoadDatFile(const QString& path);
    // Log > Open asks for a flight log; LoadLogFile shows one (also one named on the command
    // line or dropped), offering a new project that frames it when no map holds it.
    void OpenLog();
    void LoadLogFile(const QString& path);
    void CloseLog();

    QAction* action(Command command) const { return actions_[static_cast<std::size_t>(command)]; }
    Document& document() { return document_; }
    LiveTracking& liveTracking() const { return *live_; }
    MapView& imagePanel() const { return *ImagePanel; }
    TacCursor& cursor() const { return *acCursor; }
    TThermalData& thermalData() const { return *ThermalData; }
    TRandomizeForm& randomizeForm() const { return *RandomizeForm; }
    TAbout& aboutForm() const { return *About; }
    ClimbsWindow& climbsWindow() const { return *Climbs; }
    FlightRecorder& recorder() const { return *recorder_; }
    // The open flight log's track on the map, or null.
    FlightTrackItem* flightTrack() const { return track_; }
    // The line summing up the open flight log; empty when none is open.
    QString flightLineText() const;
    // The five panels, then the link's state.
    QString statusText(int panel) const;
    // A passing note in the status bar: what did not happen, and why.
    void ShowNote(const QString& text);
    QString noteText() const;
    // The flight data strip's text.
    QString flightDataText() const;
    double zoomFactor() const { return zoom; }
    // Zooms to a factor (held from 1 to 64) about a viewport position, which keeps the map's
    // point under it there.
    void ZoomAbout(double factor, QPoint viewportPos);
    // The recent project (waypoint) files, newest first.
    QStringList recentFiles(bool projects) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createCommands();
    void createToolBar();
    void createStatusBar();
    void createPopupMenus();
    void connectDocument();
    void runCommand(Command command);
    // What a project makes possible: saving it, adding to it, its waypoints and scenery.
    void EnableProjectCommands();
    QMenu* menu(Place place);
    // The caption names the project, and the waypoint file too when withWaypoints, with "*"
    // while either holds unsaved changes.
    void showCaption(bool withWaypoints);
    void refreshCaption();
    // The "Project Modified" and "Waypoints Modified" questions: true when there is nothing
    // unsaved or the user answers Yes.
    bool MayDiscardProject();
    bool MayDiscardWaypoints();
    void OpenDroppedFiles(const DroppedFiles& files);
    void showAircraft(const FlightData& data);
    void createFlightData();
    // The remembered choices: read once at start, written as they change.
    void restoreChoices();
    void rememberChoices();
    void RestoreLiftModel(const QSettings& state);
    void NoteRecent(const QString& path, QStringList& recent);
    // After a save command: the file saved joins the recent ones.
    void NoteSaved(bool project);
    // A recent file that is gone is said so (with text) and dropped from recent; false then.
    bool RecentFileIsThere(const QString& path, const std::string& text, QStringList& recent);
    void fillRecentMenu();

    // Map editing.
    void mainImageMouseMove(int x, int y);
    void mainImageClick();
    void AddWaypoint(GeoPoint at);
    // Asks for a new name; waypoint refers to a pointer that is cleared if the waypoint goes
    // while the box is open.
    void RenameWaypoint(const Waypoint* const& waypoint);
    void ApplyHeightUnits(heightDispType unit);
    void SetLatLonFormat(latLonDispType format);
    void ZoomBy(int step);
    // The whole map in the panel: zoom 1.
    void FitMap();
    void ImagePanelResize();
    void RunScenery(SceneryKind kind);
    void GetData();

    // Flight logs.
    void OfferFlightProject(const IgcFlight& flight, const QString& path);
    void ShowChosenClimbs(const std::vector<Climb>& climbs);
    void AddClimbsAsThermals();
    void RecordFlight(bool on);
    // The open log's line, heights in the unit of the moment.
    void showFlightLine();

    DisplayUnits units_; // read by the map's hints, the Thermal Data window and the readouts
    Document document_;
    std::unique_ptr<LiveTracking> live_;

    double zoom = 1;
    int mouseX = 0;
    int mouseY = 0;
    int popupX = 0;
    int popupY = 0;
    // The tools run in the directory current at start.
    QString toolDir;
    // The value a thermal or waypoint popup was opened on; it is looked up in its list by
    // identity before use and cleared whenever that value is removed.
    const Thermal* popupThermal = nullptr;
    const Waypoint* popupWaypoint = nullptr;
    std::unique_ptr<SceneryRun> sceneryRun_;
    QString statePath_;
    QStringList recentProjects_;
    QStringList recentWaypoints_;
    QStringList recentLogs_;
    IgcLogHeader recordingNames_;
    FlightSummary flightSummary_;
    bool captionNamesWaypoints_ = false;

    // Controls (owned by the window).
    std::array<QAction*, kCommandCount> actions_{};
    std::array<QMenu*, 13> menus_{};
    QMenu* recentMenu_ = nullptr;
    MapView* ImagePanel = nullptr;
    TacCursor* acCursor = nullptr;
    TrailItem* trail_ = nullptr;
    ThermalAreas* thermalAreas_ = nullptr;
    FlightTrackItem* track_ = nullptr;
    QLabel* flightLine_ = nullptr;
    FlightRecorder* recorder_ = nullptr;
    std::array<QLabel*, 5> flightData_{};
    QLineEdit* waypointDescription = nullptr;
    std::array<QLabel*, 6> statusPanels{};
    QLabel* note_ = nullptr;
    QTimer* noteTimer_ = nullptr;
    QMenu* MapPopupMenu = nullptr;
    QMenu* ThermalPopup = nullptr;
    QMenu* WaypointPopup = nullptr;

    // The other windows, created after this one; Thermal Data in a dock panel, the others
    // top-level children of it that stay above it.
    TThermalData* ThermalData = nullptr; // in a dock panel of this window
    QDockWidget* thermalDock_ = nullptr;
    TAbout* About = nullptr;
    TRandomizeForm* RandomizeForm = nullptr;
    QWidget* Legend = nullptr;
    ClimbsWindow* Climbs = nullptr;
};
