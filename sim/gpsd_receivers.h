#pragma once

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario.h"

// What gpsd last said about one receiver.
struct GpsdReceiver {
    std::string path;
    std::string driver;
    int mode = 0;  // of the latest TPV report: 0 unknown, 1 no fix, 2 2D, 3 3D
    std::optional<double> latitude, longitude, altitude, errorRadius;
    std::optional<int> satellitesUsed, satellitesInView;

    // As a location sensor: the id is derived from the path, so it stays
    // the same from run to run.
    SensorDefinition AsSensor() const;
};

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
