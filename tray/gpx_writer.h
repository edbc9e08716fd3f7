// GpxWriter: writes track log points on a thread of its own, so a slow or
// hung folder (a network share) never holds up the tray. The queue is small
// and bounded: when it is full, new points are dropped.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "balloon_texts.h"

struct GpxWrite {
    std::wstring folder;
    std::wstring fileName;
    std::string point;
    bool newSegment = false;
    std::string trackName;
};

class GpxWriter {
public:
    GpxWriter();
    // Waits a little for the queue to be written; a writer still stuck
    // after that is left to end with the process.
    ~GpxWriter();
    GpxWriter(const GpxWriter&) = delete;
    GpxWriter& operator=(const GpxWriter&) = delete;

    // False when the queue is full and the point is dropped.
    bool Post(GpxWrite write);
    // The first fault since the last call, if any.
    std::optional<LogFault> TakeFault();
    // No point waits or is being written, and no fault waits to be taken.
    bool Idle() const;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
};
