// FixWatch: decides when the gain and the loss of the tracked sensor's fix
// are worth telling. A loss counts only once the sensor has stayed not ready
// for the hold time; a gain only after a told loss, or as the run's first
// fix. So a receiver that flickers is told about at most once.
#pragma once

#include <chrono>
#include <optional>

using SteadyTime = std::chrono::steady_clock::time_point;

enum class FixNews { None, Gained, Lost };

class FixWatch {
public:
    FixWatch(std::chrono::milliseconds hold, SteadyTime start);

    // The tracked sensor's state at `now`: ready or not.
    void Observe(SteadyTime now, bool ready);
    // What there is to tell at `now`.
    FixNews Due(SteadyTime now) const;
    // The news was told at `now`.
    void Told(FixNews news);
    // How long the sensor went without a fix before the one there is now:
    // since the start, or since the told loss began.
    std::chrono::milliseconds TimeToFix() const;
    // When a loss becomes due if nothing changes; none when none can.
    std::optional<SteadyTime> LossDueAt() const;

private:
    std::chrono::milliseconds m_hold;
    FixNews m_told = FixNews::None;
    bool m_ready = false;
    SteadyTime m_readySince;
    // Since when the sensor has been without a fix; the start at first.
    SteadyTime m_missingSince;
    // Where the time to the next fix is counted from.
    SteadyTime m_countFrom;
};
