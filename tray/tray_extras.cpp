#include "tray_extras.h"

#include <sensorsapi.h>
#include <shellapi.h>

#include <algorithm>

namespace {

// How often a track log at work is looked at for a fault to show.
constexpr auto kBusyLookInterval = std::chrono::milliseconds(250);
const char kLocationSettings[] = "ms-settings:privacy-location";

SteadyTime Now() { return std::chrono::steady_clock::now(); }

// Taken as the program is loaded: the time to the first fix counts from there.
const SteadyTime kProgramStart = Now();

}  // namespace

TrayExtras::TrayExtras(CWnd& owner, TrayEntry& entry) : m_owner(owner), m_entry(entry), m_start(kProgramStart) {}

TrayExtras::~TrayExtras() = default;

void TrayExtras::Configure(const ExtrasSettings& settings) {
    m_settings = settings;
    if (settings.fixBalloons) m_fixWatch.emplace(std::chrono::seconds(settings.holdSeconds), m_start);
    if (!settings.gpxFolder.empty()) m_log = std::make_unique<TrackLog>(settings.gpxFolder);
}

void TrayExtras::OnTrackedStatus(const SensorStatus& status) {
    if (!m_fixWatch && !m_log && !m_settings.accessBalloon) return;
    const SteadyTime now = Now();
    m_last = status;
    if (m_fixWatch) m_fixWatch->Observe(now, status.state == SENSOR_STATE_READY);
    if (m_log) m_log->OnStatus(now, std::chrono::system_clock::now(), status);
    Update(now);
    Schedule(now);
}

void TrayExtras::OnTimer() {
    const SteadyTime now = Now();
    if (m_log) m_log->OnTimer(now, std::chrono::system_clock::now());
    Update(now);
    Schedule(now);
}

void TrayExtras::OnBalloonClick() {
    if (m_shown != BalloonKind::AccessDenied) return;
    m_shown.reset();
    ::ShellExecuteA(m_owner.m_hWnd, "open", kLocationSettings, nullptr, nullptr, SW_SHOWNORMAL);
}

void TrayExtras::Finish() {
    m_log.reset();
    m_fixWatch.reset();
    m_settings = ExtrasSettings{};
    if (m_timerSet) m_owner.KillTimer(TIMER_EXTRAS);
    m_timerSet = false;
}

// What to tell now, the most pressing first, regardless of the last
// balloon's time.
std::optional<Balloon> TrayExtras::Due(SteadyTime now) const {
    if (!m_last) return std::nullopt;
    if (m_settings.accessBalloon && !m_accessTold && m_last->state == SENSOR_STATE_ACCESS_DENIED)
        return AccessDeniedBalloon();
    if (m_settings.fixBalloons && m_fault && !m_faultTold) return LogFaultBalloon(*m_fault);
    if (!m_fixWatch) return std::nullopt;
    switch (m_fixWatch->Due(now)) {
    case FixNews::Gained:
        return FixGainedBalloon(*m_last, m_fixWatch->TimeToFix());
    case FixNews::Lost:
        return FixLostBalloon(*m_last);
    case FixNews::None:
        break;
    }
    return std::nullopt;
}

void TrayExtras::Update(SteadyTime now) {
    // Only the first fault of the run is shown.
    if (m_log && !m_fault) m_fault = m_log->TakeFault();
    if (m_lastBalloon && now - *m_lastBalloon < std::chrono::seconds(m_settings.holdSeconds)) return;
    if (const auto balloon = Due(now)) Show(*balloon, now);
}

void TrayExtras::Show(const Balloon& balloon, SteadyTime now) {
    m_entry.ShowBalloon(balloon.title.c_str(), balloon.text.c_str(), balloon.icon);
    m_lastBalloon = now;
    m_shown = balloon.kind;
    switch (balloon.kind) {
    case BalloonKind::AccessDenied:
        m_accessTold = true;
        break;
    case BalloonKind::LogFault:
        m_faultTold = true;
        break;
    case BalloonKind::FixGained:
        m_fixWatch->Told(FixNews::Gained);
        break;
    case BalloonKind::FixLost:
        m_fixWatch->Told(FixNews::Lost);
        break;
    }
}

// The timer runs only while something waits for its time: a loss for its
// hold, a balloon for the last one's hold, a held-back track point, or a
// write whose fault may have to be shown.
void TrayExtras::Schedule(SteadyTime now) {
    std::optional<SteadyTime> next;
    const auto consider = [&](std::optional<SteadyTime> at) {
        if (at && *at > now && (!next || *at < *next)) next = at;
    };
    if (m_fixWatch) consider(m_fixWatch->LossDueAt());
    if (m_lastBalloon && Due(now)) consider(*m_lastBalloon + std::chrono::seconds(m_settings.holdSeconds));
    if (m_log) {
        consider(m_log->NextWriteAt());
        if (m_settings.fixBalloons && !m_faultTold && !m_log->Idle()) consider(now + kBusyLookInterval);
    }
    if (!next) {
        if (m_timerSet) m_owner.KillTimer(TIMER_EXTRAS);
        m_timerSet = false;
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - now).count();
    m_owner.SetTimer(TIMER_EXTRAS, static_cast<UINT>(std::max<long long>(wait, 1)));
    m_timerSet = true;
}
