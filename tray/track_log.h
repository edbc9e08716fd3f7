// TrackLog: the tracked sensor's positions into a GPX file a day in a
// folder, while the sensor is ready: one track a run, one segment for each
// stretch of fix, a point for each change of position, at most one a second.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "balloon_texts.h"
#include "fix_watch.h"
#include "gpx_text.h"
#include "gpx_writer.h"
#include "sensor_status.h"

class TrackLog {
public:
    explicit TrackLog(std::wstring folder);
    // Writes the position held back for the once-a-second limit.
    ~TrackLog();

    void OnStatus(SteadyTime now, SystemTime clock, const SensorStatus& status);
    // Writes the held-back position once its second has passed.
    void OnTimer(SteadyTime now, SystemTime clock);
    // When OnTimer has a held-back position to write.
    std::optional<SteadyTime> NextWriteAt() const;

    std::optional<LogFault> TakeFault();
    // Nothing is being written and no fault waits to be taken.
    bool Idle() const;

private:
    struct Position {
        GpxPoint point;
        std::string trackName;
    };
    void Write(SteadyTime now, Position position);

    std::wstring m_folder;
    std::unique_ptr<GpxWriter> m_writer;
    bool m_ready = false;
    bool m_segmentStarted = false;
    std::optional<SteadyTime> m_lastWritten;
    // The position last written, or held back, in this stretch.
    std::optional<GpxPoint> m_last;
    std::optional<Position> m_heldBack;
};
