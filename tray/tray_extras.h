// TrayExtras: what lodestar does beyond the icon and tooltip when the
// settings ask for it: balloons when the fix is gained or lost and when
// Windows denies location access, and the track log. None of it runs, and
// nothing changes, without those settings.
#pragma once

#include <afxwin.h>

#include <memory>
#include <optional>

#include "balloon_texts.h"
#include "extras_settings.h"
#include "fix_watch.h"
#include "track_log.h"
#include "sensor_status.h"
#include "tray_entry.h"

// Runs while a balloon or a held-back track point waits for its time.
constexpr UINT_PTR TIMER_EXTRAS = 206;

class TrayExtras {
public:
    TrayExtras(CWnd& owner, TrayEntry& entry);
    ~TrayExtras();
    TrayExtras(const TrayExtras&) = delete;
    TrayExtras& operator=(const TrayExtras&) = delete;

    void Configure(const ExtrasSettings& settings);
    void OnTrackedStatus(const SensorStatus& status);
    void OnTimer();
    // The user clicked the balloon shown last.
    void OnBalloonClick();
    // The track log's last points are written; nothing more is shown.
    void Finish();

private:
    std::optional<Balloon> Due(SteadyTime now) const;
    void Update(SteadyTime now);
    void Show(const Balloon& balloon, SteadyTime now);
    void Schedule(SteadyTime now);

    CWnd& m_owner;
    TrayEntry& m_entry;
    ExtrasSettings m_settings;
    const SteadyTime m_start;
    std::optional<FixWatch> m_fixWatch;
    std::unique_ptr<TrackLog> m_log;
    std::optional<SensorStatus> m_last;
    bool m_accessTold = false;
    std::optional<LogFault> m_fault;
    bool m_faultTold = false;
    std::optional<SteadyTime> m_lastBalloon;
    std::optional<BalloonKind> m_shown;
    bool m_timerSet = false;
};
