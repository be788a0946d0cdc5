#pragma once

#include "geo/geopoint.h"
#include "geo/units.h"
#include "model/observer.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// The twenty values a thermal takes from the Thermal Data window ("Set Data" and every new
// thermal) and gives back to it ("Get Data"). Heights are metres above the ground.
struct ThermalSettings {
    int type = 0; // 1 ridge, 2 and 3 turbulence, 4 thermal
    int bottom = 0;
    int top = 0;
    int radius = 0;  // metres
    int windDir = 0; // degrees the wind comes from, 0 north, 90 east
    int factor = 0;  // written into the scenery output only
    bool cloud = false;
    int cloudBase = 0;
    int cloudRadius = 0;
    int cloudType = 0; // the cloud bitmap
    // The cumulus tool's values; -1 means random.
    float tCuHS = -1.0f;
    float tCuVS = -1.0f;
    int tCuRotation = 0;
    float tCuCloud = -0.5f; // 0 blue, 1 cloud, between 0 and -1 a probability
    int tCuStart = -1;      // minutes
    int tCuEnd = -1;
    // The lift profile, in per cent: of the simulator's own strength, of the radius at full
    // strength, of the height band below and above which the lift fades.
    int tStrengthPercent = 0;
    int tCorePercent = 0;
    int tCoreBasePercent = 0;
    int tCoreTopPercent = 0;
};

// Types run 1 to 4 and repeat: ((v - 1) rem 4) + 1, the remainder keeping the sign (0 gives 0,
// -1 gives -1, -3 gives 1); a result below 1 is no type.
int WrappedType(int v);

// One area of lift: the program's central record. Values are read from the fields and
// written through the Set... setters, which apply the stored forms of type and wind
// direction and tell the observer (the glyph) what changed. The position keeps the two
// fields the files and hints name, and is handed on as one GeoPoint.
class Thermal : public ThermalSettings {
public:
    double lat = 0;
    double lon = 0;
    int spare = 0;         // set by the project loader; nothing reads it
    int tGroundHeight = 0; // terrain at the thermal, metres
    bool active = false;   // the profiler is applying this thermal now

    GeoPoint Position() const { return {lat, lon}; }
    void SetLat(double v);
    void SetLon(double v);
    void SetPosition(GeoPoint p);
    // Stores WrappedType(v).
    void SetType(int v);
    void SetBottom(int v);
    void SetTop(int v);
    void SetRadius(int v);
    // v rem 360, the remainder keeping the sign.
    void SetWindDir(int v);
    void SetFactor(int v);
    void SetCloud(bool v);
    void SetCloudBase(int v);
    void SetCloudRadius(int v);
    void SetCloudType(int v);
    void SetSpare(int v);
    void SetCuHs(float v);
    void SetCuVs(float v);
    void SetCuRotation(int v);
    void SetCuCloud(float v);
    void SetCuStart(int v);
    void SetCuEnd(int v);
    void SetGroundHeight(int v);
    void SetStrengthPercent(int v);
    void SetCorePercent(int v);
    void SetCoreBasePercent(int v);
    void SetCoreTopPercent(int v);
    void SetActive(bool v);

    // "Set Data": the twenty values through their setters, in the window's order. Position,
    // spare, height unit, ground height and active are not touched.
    void SetData(const ThermalSettings& values);
    // The cumulus values alone, and the profile values alone ("Apply To All").
    void SetCumulus(const ThermalSettings& values);
    void SetProfile(const ThermalSettings& values);
    // Every value of another thermal but the profiler's mark, through the setters (an undo
    // puts a thermal back so).
    void SetValues(const Thermal& other);

    // The multi-line hint, exactly as the tooltip shows it at this moment, with heights in
    // the display unit.
    std::string Hint(heightDispType unit) const;

    void Observe(ValueObserver* observer) { observer_.Set(observer); }
    // Leaves the screen while it lives on (kept for an undo).
    void Detach() { observer_.Release(); }

private:
    ObserverSlot observer_;
};

// The ordered list of thermals; removing a thermal from it destroys it.
using ThermalList = std::vector<std::unique_ptr<Thermal>>;

// New values for thermals, each with its place in the list; the list itself is not touched
// until they are handed to it.
using ThermalValues = std::vector<std::pair<std::size_t, Thermal>>;

// Apply To All of the Thermal Data window's two groups: every thermal with the group's values.
ThermalValues CumulusToAll(const ThermalList& thermals, const ThermalSettings& values);
ThermalValues ProfileToAll(const ThermalList& thermals, const ThermalSettings& values);
