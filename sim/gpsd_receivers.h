#pragma once

#include <nlohmann/json_fwd.hpp>

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "gpsd_receiver.h"
#include "sensor_definition.h"

// The receivers a gpsd reports, kept up to date from the lines of its JSON
// stream (one object per line), in the order gpsd first named them; at most
// kMaxReceivers, the others ignored.
class GpsdReceivers {
public:
    using Clock = GpsdReceiver::Clock;
    enum class Line { Understood, Garbage };

    // Applies one line: DEVICES, DEVICE, TPV, SKY and POLL change the
    // receivers; other reports are understood and left alone; text that is
    // not a JSON object with a class is garbage.
    Line Apply(std::string_view line) { return Apply(line, Clock::now()); }
    Line Apply(std::string_view line, Clock::time_point now);
    // A receiver without a TPV report for `after` has no data until its next
    // one; true when one went silent.
    bool MarkSilent(Clock::time_point now, Clock::duration after);

    const std::vector<GpsdReceiver>& All() const { return m_receivers; }
    // Their sensors, each name unique among them.
    std::vector<SensorDefinition> Sensors() const;
    // Whether an answer to ?POLL has arrived.
    bool PollAnswered() const { return m_pollAnswered; }
    // Whether gpsd named more receivers than are kept.
    bool Overflowed() const { return m_overflowed; }

    static constexpr std::size_t kMaxReceivers = 32;

private:
    using Json = nlohmann::json;

    GpsdReceiver* Find(const std::string& path);
    // Without a path: the only receiver, if there is exactly one.
    GpsdReceiver* FindOrAdd(const std::string& path);
    void ApplyTpv(const Json& tpv);
    void ApplySky(const Json& sky);
    void ApplyDevice(const Json& device);
    void ApplyDevices(const Json& report);
    void ApplyPoll(const Json& report);

    std::vector<GpsdReceiver> m_receivers;
    Clock::time_point m_now;  // when the line being applied came
    bool m_pollAnswered = false;
    bool m_overflowed = false;
};
