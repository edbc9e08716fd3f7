#include "tray_tooltip.h"

#include <cstring>

#include "map_url.h"
#include "sensor_state.h"
#include "text_cut.h"

CString BuildTrayTooltip(const SensorStatus& status) {
    CString tip("Sensor not found!");
    if (status.name.IsEmpty()) return tip;
    const char* stateName = SensorStateName(status.state);
    if (HasPosition(status.latitude, status.longitude)) {
        tip.Format("Sensor name : %s\nSensor status : %s\nlatitude:%f\nlongitude:%f\nsatellites %d/%d",
                   status.name.GetString(), stateName, status.latitude, status.longitude, status.satellitesUsed,
                   status.satellitesInView);
    } else {
        tip.Format("Sensor name : %s\nSensor status : %s", status.name.GetString(), stateName);
    }
    return tip;
}

void CopyTrayText(CHAR* field, size_t size, const char* text) {
    const size_t kLimit = size - 1;
    size_t length = std::strlen(text);
    if (length > kLimit) {
        const void* lineEnd = std::memchr(text, '\n', kLimit + 1);
        size_t lastLineEnd = 0;
        while (lineEnd) {
            lastLineEnd = static_cast<size_t>(static_cast<const char*>(lineEnd) - text);
            lineEnd = std::memchr(text + lastLineEnd + 1, '\n', kLimit - lastLineEnd);
        }
        if (lastLineEnd > 0) {
            length = lastLineEnd;
        } else {
            length = WholeCharactersLength(text, kLimit);
        }
    }
    std::memcpy(field, text, length);
    field[length] = '\0';
}
