#pragma once

#include <nlohmann/json_fwd.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "gpsd_receiver.h"
#include "sensor_definition.h"

// The receivers a gpsd reports, kept up to date from the lines of its JSON
// stream (one object per line), in the order gpsd first named them.
class GpsdReceivers {
public:
    enum class Line { Understood, Garbage };

    // Applies one line: DEVICES, DEVICE, TPV, SKY and POLL change the
    // receivers; other reports are understood and left alone; text that is
    // not a JSON object with a class is garbage.
    Line Apply(std::string_view line);

    const std::vector<GpsdReceiver>& All() const { return m_receivers; }
    std::vector<SensorDefinition> Sensors() const;
    // Whether an answer to ?POLL has arrived.
    bool PollAnswered() const { return m_pollAnswered; }

private:
    using Json = nlohmann::json;

    GpsdReceiver* Find(const std::string& path);
    GpsdReceiver* FindOrAdd(const std::string& path);
    void ApplyTpv(const Json& tpv);
    void ApplySky(const Json& sky);
    void ApplyDevice(const Json& device);
    void ApplyDevices(const Json& report);
    void ApplyPoll(const Json& report);

    std::vector<GpsdReceiver> m_receivers;
    bool m_pollAnswered = false;
};
