#pragma once

#include "app/commands.h"
#include "app/livetracking.h"
#include "document/document.h"
#include "geo/coordtext.h"
#include "geo/units.h"

#include <array>
#include <memory>

#include <QMainWindow>
#include <QString>

class MapView;
struct DroppedFiles;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class SceneryRun;
enum class SceneryKind;
class SimLink;
class TAbout;
class TRandomizeForm;
class TThermalData;
class TacCursor;

// The program's main window: menus and toolbar from the command table, the map panel with
// the aircraft cursor, the status bar, and the commands on the document and at the
// aircraft. It owns the document and the live tracking, and creates the Thermal Data,
// About and Randomize Thermals windows after itself.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // makeLink makes the simulator link for the read interval of the settings file at
    // settingsPath ([Timers] for the live tracking, [ACCursor] for the cursor).
    TMainForm(const LiveTracking::LinkFactory& makeLink, const QString& settingsPath,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    static QString BaseCaption() { return QStringLiteral("Brevan Talvor 1.0 beta 1   "); }

    // LoadProject and LoadDat ask their questions and show the open dialog; the ...File
    // forms load a chosen file (also one named on the command line or dropped).
    void LoadProject(bool add);
    void LoadDat();
    void LoadProjectFile(const QString& path, bool add);
    void LoadDatFile(const QString& path);

    QAction* action(Command command) const { return actions_[static_cast<std::size_t>(command)]; }
    Document& document() { return document_; }
    LiveTracking& liveTracking() const { return *live_; }
    MapView& imagePanel() const { return *ImagePanel; }
    TacCursor& cursor() const { return *acCursor; }
    TThermalData& thermalData() const { return *ThermalData; }
    TRandomizeForm& randomizeForm() const { return *RandomizeForm; }
    TAbout& aboutForm() const { return *About; }
    // The five panels, then the link's state.
    QString statusText(int panel) const;
    // A passing note in the status bar: what did not happen, and why.
    void ShowNote(const QString& text);
    QString noteText() const;
    int zoomFactor() const { return zoom; }

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
    QMenu* menu(Place place);
    // The caption naming the project and the waypoint file.
    void showWaypointCaption();
    // The "Project Modified" and "Waypoints Modified" questions: true when there is nothing
    // unsaved or the user answers Yes.
    bool MayDiscardProject();
    bool MayDiscardWaypoints();
    void OpenDroppedFiles(const DroppedFiles& files);
    void showAircraft(double lat, double lon, double groundM, const LinkStatus& status);

    // Map editing.
    void mainImageMouseMove(int x, int y);
    void mainImageClick();
    void AddWaypoint(double lat, double lon);
    void ApplyHeightUnits(heightDispType unit);
    void SetLatLonFormat(latLonDispType format);
    void ZoomBy(int step);
    void ImagePanelResize();
    void RunScenery(SceneryKind kind);
    void GetData();

    Document document_;
    std::unique_ptr<LiveTracking> live_;

    int zoom = 1;
    latLonDispType latLonFormat = decMins;
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

    // Controls (owned by the window).
    std::array<QAction*, kCommandCount> actions_{};
    std::array<QMenu*, 11> menus_{};
    MapView* ImagePanel = nullptr;
    TacCursor* acCursor = nullptr;
    QLineEdit* waypointDescription = nullptr;
    std::array<QLabel*, 6> statusPanels{};
    QLabel* note_ = nullptr;
    QTimer* noteTimer_ = nullptr;
    QMenu* MapPopupMenu = nullptr;
    QMenu* ThermalPopup = nullptr;
    QMenu* WaypointPopup = nullptr;

    // The other windows, created after this one; top-level children of it.
    TThermalData* ThermalData = nullptr;
    TAbout* About = nullptr;
    TRandomizeForm* RandomizeForm = nullptr;
};
