#include "gpsd_receivers.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace {

using Json = nlohmann::json;

std::optional<double> Number(const Json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number()) return std::nullopt;
    return found->get<double>();
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

// The latest TPV report replaces everything it carries.
void UpdateFromTpv(GpsdReceiver& receiver, const Json& tpv) {
    const auto mode = Count(tpv, "mode");
    receiver.mode = mode && *mode <= 3 ? *mode : 0;
    const bool fix = receiver.mode >= 2;
    receiver.latitude = fix ? Number(tpv, "lat") : std::nullopt;
    receiver.longitude = fix ? Number(tpv, "lon") : std::nullopt;
    receiver.altitude = std::nullopt;
    if (receiver.mode == 3) {
        receiver.altitude = Number(tpv, "altMSL");
        if (!receiver.altitude) receiver.altitude = Number(tpv, "alt");
    }
    receiver.errorRadius = Number(tpv, "eph");
    if (!receiver.errorRadius) {
        const auto epx = Number(tpv, "epx");
        const auto epy = Number(tpv, "epy");
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
        if (!inView) inView = static_cast<int>(list->size());
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
    if (path.empty()) return m_receivers.empty() ? nullptr : &m_receivers.front();
    if (GpsdReceiver* known = Find(path)) return known;
    GpsdReceiver added;
    added.path = path;
    m_receivers.push_back(std::move(added));
    return &m_receivers.back();
}

void GpsdReceivers::ApplyTpv(const Json& tpv) {
    if (GpsdReceiver* receiver = tpv.is_object() ? FindOrAdd(Text(tpv, "device")) : nullptr)
        UpdateFromTpv(*receiver, tpv);
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
        if (known != before.end() && !Find(path)) m_receivers.push_back(*known);
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

GpsdReceivers::Line GpsdReceivers::Apply(std::string_view line) {
    const Json report = Json::parse(line.begin(), line.end(), nullptr, false);
    if (report.is_discarded() || !report.is_object()) return Line::Garbage;
    const std::string kind = Text(report, "class");
    if (kind.empty()) return Line::Garbage;

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

std::vector<SensorDefinition> GpsdReceivers::Sensors() const {
    std::vector<SensorDefinition> sensors;
    for (const GpsdReceiver& receiver : m_receivers) sensors.push_back(receiver.AsSensor());
    return sensors;
}
