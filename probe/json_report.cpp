#include "json_report.h"

#include <cstdio>

#include "map_url.h"
#include "sensor_state.h"

namespace {

nlohmann::ordered_json AccuracyJson(const AccuracyReading& reading) {
    nlohmann::ordered_json json = {{"report", reading.hasReport}};
    if (!reading.hasReport) return json;
    if (reading.provider) json["sensor"] = NameJson(*reading.provider);
    if (reading.latitude) json["latitude"] = *reading.latitude;
    if (reading.longitude) json["longitude"] = *reading.longitude;
    json["address"] = nlohmann::ordered_json::object();
    for (const CivicLine& line : reading.address) json["address"][line.key] = Utf8(line.text);
    return json;
}

}  // namespace

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                            nullptr);
    return bytes;
}

nlohmann::ordered_json NameJson(const SensorName& name) { return name ? nlohmann::ordered_json(Utf8(*name)) : nlohmann::ordered_json(); }

nlohmann::ordered_json ValuesJson(const std::vector<ReportValue>& values) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    json.get_ref<nlohmann::ordered_json::object_t&>().reserve(values.size());
    for (const ReportValue& value : values) json[value.key] = value.value;
    return json;
}

nlohmann::ordered_json SensorJson(const SensorReading& sensor) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    json.get_ref<nlohmann::ordered_json::object_t&>().reserve(8);
    if (sensor.id) json["id"] = Utf8(GuidText(*sensor.id));
    json["name"] = NameJson(sensor.name);
    if (sensor.type) json["type"] = Utf8(*sensor.type);
    json["state"] = SensorStateName(sensor.state.value_or(SENSOR_STATE_ERROR));
    if (sensor.state) json["state_number"] = *sensor.state;
    if (sensor.values) {
        json["values"] = ValuesJson(*sensor.values);
        if (auto position = FindMapPosition(*sensor.values))
            json["map"] = MapUrlForShell(position->latitude, position->longitude);
    }
    return json;
}

nlohmann::ordered_json LocationJson(const LocationReading& location) {
    if (!location.created) return nullptr;
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    if (location.status) {
        const char* name = ReportStatusName(*location.status);
        json["status"] = name != nullptr ? nlohmann::ordered_json(name) : nlohmann::ordered_json();
        json["status_number"] = static_cast<int>(*location.status);
    }
    if (location.atDefault) json["default"] = AccuracyJson(*location.atDefault);
    if (location.atHigh) json["high"] = AccuracyJson(*location.atHigh);
    return json;
}

std::string JsonLine(const nlohmann::ordered_json& document) {
    std::string text = document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    // The serializer escapes C0 controls only. Outside strings JSON is ASCII
    // without DEL, so DEL and C1 (U+0080..U+009F, C2 80..C2 9F in UTF-8)
    // can only be string contents.
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte != 0x7f && byte != 0xc2) continue;
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (byte == 0xc2 && (next < 0x80 || next > 0x9f)) continue;
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", byte == 0x7f ? 0x7f : next);
        text.replace(i, byte == 0x7f ? 1 : 2, escape);
        i += 5;
    }
    text += '\n';
    return text;
}
