#include "gpsd_receivers.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using Json = nlohmann::json;

// From the lowest dry land (the Dead Sea shore, -430 m; satellite signals do
// not pass through water or rock) to geostationary orbit, above every
// navigation system's satellites, the highest where receivers use them.
constexpr double kMinAltitude = -1000.0;
constexpr double kMaxAltitude = 36000e3;
// Half the Earth's circumference: a larger error leaves no position at all.
constexpr double kMaxErrorRadius = 20040e3;

std::optional<double> Number(const Json& object, const char* key, double low, double high) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number()) return std::nullopt;
    const double value = found->get<double>();
    if (!std::isfinite(value) || value < low || value > high) return std::nullopt;
    return value;
}

std::optional<int> Count(const Json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number_integer()) return std::nullopt;
    const auto value = found->get<long long>();
    if (value < 0 || value > 100000) return std::nullopt;
    return static_cast<int>(value);
}

std::string Text(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

// The latest TPV report replaces everything it carries. A fix needs a
// position on Earth; without one the receiver has none.
void UpdateFromTpv(GpsdReceiver& receiver, const Json& tpv) {
    const auto mode = Count(tpv, "mode");
    receiver.mode = mode && *mode <= 3 ? *mode : 0;
    receiver.latitude = Number(tpv, "lat", -90, 90);
    receiver.longitude = Number(tpv, "lon", -180, 180);
    if (!receiver.HasFix()) receiver.latitude = receiver.longitude = std::nullopt;
    receiver.altitude = std::nullopt;
    if (receiver.mode == 3 && receiver.HasFix()) {
        receiver.altitude = Number(tpv, "altMSL", kMinAltitude, kMaxAltitude);
        if (!receiver.altitude) receiver.altitude = Number(tpv, "alt", kMinAltitude, kMaxAltitude);
    }
    receiver.errorRadius = Number(tpv, "eph", 0, kMaxErrorRadius);
    if (!receiver.errorRadius) {
        const auto epx = Number(tpv, "epx", 0, kMaxErrorRadius);
        const auto epy = Number(tpv, "epy", 0, kMaxErrorRadius);
        if (epx && epy)
            receiver.errorRadius = std::max(*epx, *epy);
        else
            receiver.errorRadius = epx ? epx : epy;
    }
}

// A SKY report that names no satellites (only dilutions) keeps the counts.
void UpdateFromSky(GpsdReceiver& receiver, const Json& sky) {
    auto used = Count(sky, "uSat");
    auto inView = Count(sky, "nSat");
    const auto list = sky.find("satellites");
    if (list != sky.end() && list->is_array()) {
        if (!inView) inView = static_cast<int>(std::min<std::size_t>(list->size(), 100000));
        if (!used) {
            int count = 0;
            for (const Json& satellite : *list) {
                if (!satellite.is_object()) continue;
                const auto flag = satellite.find("used");
                if (flag != satellite.end() && flag->is_boolean() && flag->get<bool>()) ++count;
            }
            used = count;
        }
    }
    if (used) receiver.satellitesUsed = used;
    if (inView) receiver.satellitesInView = inView;
}

auto WithPath(const std::string& path) {
    return [&path](const GpsdReceiver& receiver) { return receiver.path == path; };
}

}  // namespace

GpsdReceiver* GpsdReceivers::Find(const std::string& path) {
    const auto found = std::find_if(m_receivers.begin(), m_receivers.end(), WithPath(path));
    return found == m_receivers.end() ? nullptr : &*found;
}

GpsdReceiver* GpsdReceivers::FindOrAdd(const std::string& path) {
    if (path.empty()) return m_receivers.size() == 1 ? &m_receivers.front() : nullptr;
    if (GpsdReceiver* known = Find(path)) return known;
    if (m_receivers.size() >= kMaxReceivers) {
        m_overflowed = true;
        return nullptr;
    }
    m_receivers.emplace_back(path, m_now);
    return &m_receivers.back();
}

void GpsdReceivers::ApplyTpv(const Json& tpv) {
    GpsdReceiver* receiver = tpv.is_object() ? FindOrAdd(Text(tpv, "device")) : nullptr;
    if (!receiver) return;
    UpdateFromTpv(*receiver, tpv);
    receiver->heard = m_now;
    receiver->silent = false;
}

void GpsdReceivers::ApplySky(const Json& sky) {
    if (GpsdReceiver* receiver = sky.is_object() ? FindOrAdd(Text(sky, "device")) : nullptr)
        UpdateFromSky(*receiver, sky);
}

void GpsdReceivers::ApplyDevice(const Json& device) {
    const std::string path = Text(device, "path");
    if (path.empty()) return;
    const auto activated = device.find("activated");
    if (activated != device.end() && activated->is_number() && activated->get<double>() == 0) {
        m_receivers.erase(std::remove_if(m_receivers.begin(), m_receivers.end(), WithPath(path)), m_receivers.end());
        return;
    }
    GpsdReceiver* receiver = FindOrAdd(path);
    if (!receiver) return;
    if (const std::string driver = Text(device, "driver"); !driver.empty()) receiver->driver = driver;
}

// The whole list: a receiver not named any more has gone.
void GpsdReceivers::ApplyDevices(const Json& report) {
    std::vector<GpsdReceiver> before = std::move(m_receivers);
    m_receivers.clear();
    const auto devices = report.find("devices");
    if (devices == report.end() || !devices->is_array()) return;
    for (const Json& device : *devices) {
        if (!device.is_object()) continue;
        const std::string path = Text(device, "path");
        const auto known = std::find_if(before.begin(), before.end(), WithPath(path));
        if (known != before.end() && !Find(path) && m_receivers.size() < kMaxReceivers)
            m_receivers.push_back(*known);
        ApplyDevice(device);
    }
}

void GpsdReceivers::ApplyPoll(const Json& report) {
    m_pollAnswered = true;
    for (const char* key : {"tpv", "sky"}) {
        const auto list = report.find(key);
        if (list == report.end() || !list->is_array()) continue;
        for (const Json& item : *list) key[0] == 't' ? ApplyTpv(item) : ApplySky(item);
    }
}

GpsdReceivers::Line GpsdReceivers::Apply(std::string_view line, Clock::time_point now) {
    const Json report = Json::parse(line.begin(), line.end(), nullptr, false);
    if (report.is_discarded() || !report.is_object()) return Line::Garbage;
    const std::string kind = Text(report, "class");
    if (kind.empty()) return Line::Garbage;

    m_now = now;
    if (kind == "TPV")
        ApplyTpv(report);
    else if (kind == "SKY")
        ApplySky(report);
    else if (kind == "DEVICE")
        ApplyDevice(report);
    else if (kind == "DEVICES")
        ApplyDevices(report);
    else if (kind == "POLL")
        ApplyPoll(report);
    return Line::Understood;
}

bool GpsdReceivers::MarkSilent(Clock::time_point now, Clock::duration after) {
    bool changed = false;
    for (GpsdReceiver& receiver : m_receivers) {
        if (receiver.silent || now - receiver.heard < after) continue;
        receiver.silent = true;
        changed = true;
    }
    return changed;
}

// Two receivers could be named alike: "a b" with the driver "a" and the
// path "b" against the path "a b" alone, or paths that differ only in
// control characters. A later one gets a number.
std::vector<SensorDefinition> GpsdReceivers::Sensors() const {
    std::vector<SensorDefinition> sensors;
    std::set<std::wstring> names;
    for (const GpsdReceiver& receiver : m_receivers) {
        std::wstring name = receiver.Name();
        for (int number = 2; !names.insert(name).second; ++number)
            name = receiver.Name() + L" (" + std::to_wstring(number) + L")";
        sensors.push_back(receiver.AsSensor(std::move(name)));
    }
    return sensors;
}
