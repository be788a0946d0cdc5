#pragma once

#include "files/dat.h"
#include "files/project.h"
#include "geo/coordtext.h"
#include "geo/units.h"
#include "map/map.h"
#include "scene/thermal.h"
#include "scene/waypoint.h"

#include <memory>

#include <QMainWindow>
#include <QString>

class MapView;
struct DroppedFiles;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QSettings;
class QTimer;
class QToolBar;
class SimLink;
class TAbout;
class TProfiler;
class TRandomizeForm;
class TThermalData;
class TacCursor;

// The program's main window and the owner of everything the user works on: the map with
// the aircraft cursor, the thermal and waypoint lists, the project and waypoint files, the
// simulator link and the profiler. It creates the Thermal Data, About and Randomize
// Thermals windows after itself.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // settingsPath: the settings file ([Timers] here, [ACCursor] read by the cursor).
    TMainForm(std::unique_ptr<SimLink> link, const QString& settingsPath,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    static QString BaseCaption() { return QStringLiteral("Brevan Talvor 1.0 beta 1   "); }

    // File commands: LoadProject and LoadDat ask their questions and show the open dialog;
    // the ...File forms load a chosen file (also the ones named on the command line).
    void LoadProject(bool add);
    void LoadDat();
    void LoadProjectFile(const QString& path, bool add);
    void LoadDatFile(const QString& path);
    void ClearThermals();
    void ClearWaypoints();

    // Map editing.
    TThermal& AddThermal(double lat, double lon);
    TWaypoint& AddWaypoint(double lat, double lon);
    void SetThermalData(TThermal& t);
    void ApplyHeightUnits(heightDispType unit);
    void ImagePanelResize();

    // Live tracking: the three timers' handlers and the commands at the aircraft.
    void ReadDataTimerTimer();
    void DisplayUpdateTimerTimer();
    void ProfilerTimer();
    TThermal& ThermalAtAircraft();
    TWaypoint& WaypointAtAircraft();

    // What tests and the start-up code look at.
    const ThermalList& thermalList() const { return thermals; }
    const WaypointList& waypointList() const { return waypoints; }
    const Map& mapObject() const { return map; }
    MapView& imagePanel() const { return *ImagePanel; }
    TacCursor& cursor() const { return *acCursor; }
    TThermalData& thermalData() const { return *ThermalData; }
    TRandomizeForm& randomizeForm() const { return *RandomizeForm; }
    TAbout& aboutForm() const { return *About; }
    const TProfiler& profilerObject() const { return *profiler; }
    const Project& projectFile() const { return project; }
    const Dat& datFile() const { return dat; }
    QString statusText(int panel) const;
    int zoomFactor() const { return zoom; }
    latLonDispType latLonFormatValue() const { return latLonFormat; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createPopupMenus();
    void createTimers(QSettings& settings);
    void connectView();
    void BringCursorToFront();
    // The "Project Modified" and "Waypoints Modified" questions: true when there is nothing
    // unsaved or the user answers Yes.
    bool MayDiscardProject();
    bool MayDiscardWaypoints();
    void OpenDroppedFiles(const DroppedFiles& files);
    void stopTimers();
    TThermal* popupThermalInList() const;
    TWaypoint* popupWaypointInList() const;

    // Command handlers.
    void SaveProjectClick();
    void SaveProjectAsClick();
    void SaveDatClick();
    void SaveDatAsClick();
    void mainImageMouseMove(int x, int y);
    void mainImageContextPopup(int x, int y, const QPoint& globalPos);
    void mainImageClick();
    void Thermal2Click();
    void AddWaypoint1Click();
    void MoveACHere1Click();
    void Delete1Click();
    void GetDataClick();
    void SetData1Click();
    void DeleteWaypointClick();
    void ClearAllThermalsClick();
    void ClearAllWaypointsClick();
    void SetLatLonFormat(latLonDispType format);
    void Button1Click();
    void Button2Click();
    void ThermikClick();
    void CumulusClick();
    void Randomize1Click();
    void OpenLogClick();

    // Owned objects, declared in the order they are created; they are released in the
    // reverse order, so nothing outlives what it refers to.
    Map map;
    std::unique_ptr<SimLink> link;
    ThermalList thermals;
    WaypointList waypoints;
    std::unique_ptr<TProfiler> profiler;
    Project project;
    Dat dat;

    int zoom = 1;
    latLonDispType latLonFormat = decMins;
    int mouseX = 0;
    int mouseY = 0;
    int popupX = 0;
    int popupY = 0;
    double lastThermalLat = 0;
    double lastThermalLon = 0;
    QString cumulusDir;
    QString thermikDir;
    // The glyph a thermal or waypoint popup was opened on; it is looked up in its list by
    // identity before use and cleared whenever that glyph is removed.
    const TThermal* popupThermal = nullptr;
    const TWaypoint* popupWaypoint = nullptr;

    // Controls (owned by the window).
    MapView* ImagePanel = nullptr;
    TacCursor* acCursor = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QLineEdit* waypointDescription = nullptr;
    QLabel* statusPanels[5] = {};
    QMenu* CreateThermals = nullptr;
    QMenu* MapPopupMenu = nullptr;
    QMenu* ThermalPopup = nullptr;
    QMenu* WaypointPopup = nullptr;
    QTimer* ReadDataTimer = nullptr;
    QTimer* DisplayUpdateTimer = nullptr;
    QTimer* Profiler = nullptr;

    QAction* LoadProject1 = nullptr;
    QAction* SaveProject = nullptr;
    QAction* SaveProjectAs = nullptr;
    QAction* AddProjectThermals = nullptr;
    QAction* LoadDat1 = nullptr;
    QAction* SaveDat = nullptr;
    QAction* SaveDatAs = nullptr;
    QAction* LoadLog1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* DecDegrees = nullptr;
    QAction* DecMins = nullptr;
    QAction* DegMinSec = nullptr;
    QAction* Meters = nullptr;
    QAction* Feet = nullptr;
    QAction* ClickToAddThermal = nullptr;
    QAction* ClickToAddWaypoint = nullptr;
    QAction* ShowThermalData = nullptr;
    QAction* ClearAllThermals = nullptr;
    QAction* Thermik = nullptr;
    QAction* Cumulus = nullptr;
    QAction* Randomize1 = nullptr;
    QAction* ClearAllWaypoints = nullptr;
    QAction* OpenLog = nullptr;
    QAction* About1 = nullptr;
    QAction* openProjectButton = nullptr;
    QAction* saveProjectButton = nullptr;
    QAction* addACThermal = nullptr;
    QAction* addACWaypoint = nullptr;
    QAction* ToolButton3 = nullptr;
    QAction* ToolButton5 = nullptr;

    // The other windows, created after this one; top-level children of it.
    TThermalData* ThermalData = nullptr;
    TAbout* About = nullptr;
    TRandomizeForm* RandomizeForm = nullptr;
};
