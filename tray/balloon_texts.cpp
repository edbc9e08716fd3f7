#include "balloon_texts.h"

#include <shellapi.h>

#include <cmath>

#include "map_url.h"
#include "tray_tooltip.h"

namespace {

std::string SystemReason(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return "Access is denied.";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "The disk is full.";
    case ERROR_FILE_TOO_LARGE:
        return "The file is too large.";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "The folder does not exist.";
    default:
        return "Windows error " + std::to_string(error) + ".";
    }
}

}  // namespace

// Name and position as the tooltip shows them, then what the tooltip lacks.
// The cut drops the last lines first.
Balloon FixGainedBalloon(const SensorStatus& status, std::chrono::milliseconds timeToFix) {
    CString text;
    text.Format("Sensor name : %s", status.name.GetString());
    if (HasPosition(status.latitude, status.longitude)) {
        CString position;
        position.Format("\nlatitude:%f\nlongitude:%f\nsatellites %d/%d", status.latitude, status.longitude,
                        status.satellitesUsed, status.satellitesInView);
        text += position;
    }
    if (const auto radius = status.extras.errorRadius; radius && std::isfinite(*radius) && *radius >= 0.0) {
        CString line;
        line.Format("\nerror radius %.1f m", *radius);
        text += line;
    }
    text += ("\nafter " + ElapsedText(timeToFix)).c_str();
    return {BalloonKind::FixGained, "Position fix", text.GetString(), NIIF_INFO};
}

Balloon FixLostBalloon(const SensorStatus& status) {
    // The tooltip's lines without the position.
    SensorStatus withoutPosition = status;
    withoutPosition.latitude = withoutPosition.longitude = 0.0;
    const CString tip = BuildTrayTooltip(withoutPosition);
    return {BalloonKind::FixLost, "Position lost", tip.GetString(), NIIF_WARNING};
}

Balloon AccessDeniedBalloon() {
    return {BalloonKind::AccessDenied, "Location access denied",
            "Windows denies desktop programs access to your location.\n"
            "Click here to open the location settings.",
            NIIF_WARNING};
}

Balloon LogFaultBalloon(const LogFault& fault) {
    std::string reason;
    switch (fault.reason) {
    case LogFault::NotAFolder:
        reason = "That is a file, not a folder.";
        break;
    case LogFault::NotAGpxFile:
        reason = "The file there does not end as a GPX file does.";
        break;
    case LogFault::SystemError:
        reason = SystemReason(fault.error);
        break;
    }
    return {BalloonKind::LogFault, "Track log not written",
            reason + "\n" + CString(fault.path.c_str()).GetString(), NIIF_WARNING};
}

std::string ElapsedText(std::chrono::milliseconds elapsed) {
    const long long seconds = elapsed.count() < 0 ? 0 : elapsed.count() / 1000;
    if (seconds < 60) return std::to_string(seconds) + " s";
    if (seconds < 3600) return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
    return std::to_string(seconds / 3600) + " h " + std::to_string(seconds % 3600 / 60) + " min";
}
