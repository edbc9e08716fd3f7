#include "tray_tooltip.h"

#include "map_url.h"
#include "sensor_state.h"

CString BuildTrayTooltip(const CString& name, long state, double latitude, double longitude, int satellitesUsed,
                         int satellitesInView) {
    CString tip("Sensor not found!");
    if (name.IsEmpty()) return tip;
    const char* stateName = SensorStateName(state);
    if (HasPosition(latitude, longitude)) {
        tip.Format("Sensor name : %s\nSensor status : %s\nlatitude:%f\nlongitude:%f\nsatellites %d/%d",
                   name.GetString(), stateName, latitude, longitude, satellitesUsed, satellitesInView);
    } else {
        tip.Format("Sensor name : %s\nSensor status : %s", name.GetString(), stateName);
    }
    return tip;
}
