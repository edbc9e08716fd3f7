#include "fix_watch.h"

FixWatch::FixWatch(std::chrono::milliseconds hold, SteadyTime start)
    : m_hold(hold), m_readySince(start), m_missingSince(start), m_countFrom(start) {}

void FixWatch::Observe(SteadyTime now, bool ready) {
    if (ready == m_ready) return;
    m_ready = ready;
    (ready ? m_readySince : m_missingSince) = now;
}

FixNews FixWatch::Due(SteadyTime now) const {
    if (m_ready) return m_told == FixNews::Gained ? FixNews::None : FixNews::Gained;
    if (m_told == FixNews::Gained && now - m_missingSince >= m_hold) return FixNews::Lost;
    return FixNews::None;
}

void FixWatch::Told(FixNews news) {
    if (news == FixNews::None) return;
    m_told = news;
    if (news == FixNews::Lost) m_countFrom = m_missingSince;
}

std::chrono::milliseconds FixWatch::TimeToFix() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(m_readySince - m_countFrom);
}

std::optional<SteadyTime> FixWatch::LossDueAt() const {
    if (m_ready || m_told != FixNews::Gained) return std::nullopt;
    return m_missingSince + m_hold;
}
