// The texts of lodestar's balloons, before the cut to the shell's limits.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "sensor_status.h"

enum class BalloonKind { FixGained, FixLost, AccessDenied, LogFault };

struct Balloon {
    BalloonKind kind;
    std::string title;
    std::string text;
    DWORD icon;  // NIIF_INFO, NIIF_WARNING
};

// Why the track log could not be written.
struct LogFault {
    enum Reason { NotAFolder, NotAGpxFile, SystemError } reason = SystemError;
    DWORD error = 0;  // for SystemError
    std::wstring path;
};

Balloon FixGainedBalloon(const SensorStatus& status, std::chrono::milliseconds timeToFix);
Balloon FixLostBalloon(const SensorStatus& status);
Balloon AccessDeniedBalloon();
Balloon LogFaultBalloon(const LogFault& fault);

// "42 s", "3 min 5 s", "2 h 7 min".
std::string ElapsedText(std::chrono::milliseconds elapsed);
