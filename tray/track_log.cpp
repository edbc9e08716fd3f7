#include "track_log.h"

#include <sensorsapi.h>

#include <utility>
#include <vector>

#include "map_url.h"

namespace {

constexpr auto kLeastInterval = std::chrono::seconds(1);

// The sensor's name, in the ANSI code page, as UTF-8 for the file.
std::string Utf8(const char* ansi) {
    const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    if (wideLength <= 0) return {};
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), wideLength);
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, text.data(), length, nullptr, nullptr);
    text.pop_back();
    return text;
}

}  // namespace

TrackLog::TrackLog(std::wstring folder) : m_folder(std::move(folder)) {}

TrackLog::~TrackLog() {
    if (m_heldBack) Write(std::chrono::steady_clock::now(), *std::exchange(m_heldBack, std::nullopt));
}

void TrackLog::OnStatus(SteadyTime now, SystemTime clock, const SensorStatus& status) {
    if (status.state != SENSOR_STATE_READY) {
        // The stretch ends with the last position it had.
        if (m_heldBack) Write(now, *std::exchange(m_heldBack, std::nullopt));
        m_ready = false;
        return;
    }
    if (!m_ready) {
        m_ready = true;
        m_segmentStarted = false;
        m_last.reset();
    }
    if (!HasPosition(status.latitude, status.longitude)) return;
    const GpxPoint point{status.latitude, status.longitude, status.extras.altitude, clock, status.satellitesUsed};
    if (!GpxPointText(point)) return;
    if (m_last && m_last->latitude == point.latitude && m_last->longitude == point.longitude) return;
    m_last = point;

    Position position{point, Utf8(status.name)};
    if (m_lastWritten && now - *m_lastWritten < kLeastInterval) {
        m_heldBack = std::move(position);
        return;
    }
    m_heldBack.reset();
    Write(now, std::move(position));
}

void TrackLog::OnTimer(SteadyTime now, SystemTime clock) {
    if (!m_heldBack || now - *m_lastWritten < kLeastInterval) return;
    Position position = *std::exchange(m_heldBack, std::nullopt);
    // Nothing came since: the position is still the sensor's.
    position.point.time = clock;
    Write(now, std::move(position));
}

std::optional<SteadyTime> TrackLog::NextWriteAt() const {
    if (!m_heldBack) return std::nullopt;
    return *m_lastWritten + kLeastInterval;
}

void TrackLog::Write(SteadyTime now, Position position) {
    const auto text = GpxPointText(position.point);
    if (!text) return;
    const std::string fileName = GpxFileName(position.point.time);
    if (!m_writer) m_writer = std::make_unique<GpxWriter>();
    // A point dropped by a full queue leaves the segment to the next one.
    if (m_writer->Post({m_folder, std::wstring(fileName.begin(), fileName.end()), *text, !m_segmentStarted,
                        std::move(position.trackName)}))
        m_segmentStarted = true;
    m_lastWritten = now;
}

std::optional<LogFault> TrackLog::TakeFault() { return m_writer ? m_writer->TakeFault() : std::nullopt; }

bool TrackLog::Idle() const { return !m_writer || m_writer->Idle(); }
