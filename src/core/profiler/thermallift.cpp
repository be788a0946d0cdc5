#include "profiler/thermallift.h"

#include "geo/distance.h"
#include "model/thermal.h"
#include "profiler/drift.h"
#include "profiler/lift.h"

double UpdraftMs(const ThermalSettings& values, const LiftModel& model, int msStrength) {
    return PeakLift(values, msStrength) * model.climbMsPerUnit;
}

GeoPoint AxisAt(const Thermal& t, const LiftModel& model, int msStrength, double groundM,
                double altitudeM) {
    const double updraftMs = UpdraftMs(t, model, msStrength);
    return Moved(t.Position(), DriftAt(altitudeM - groundM, t.windDir, model.windMs, updraftMs));
}

ThermalLift LiftAtAircraft(const Thermal& t, const LiftModel& model, int msStrength,
                           GeoPoint aircraft, double groundM, double altitudeM) {
    const GeoPoint axis = AxisAt(t, model, msStrength, groundM, altitudeM);
    const double distanceM = DistanceKm(aircraft, axis) * 1000.0;
    const double lift = ShapeLift(t, model.shape, msStrength, distanceM, groundM, altitudeM);
    return {lift, StrengthByte(lift)};
}
