#include "scenario_reader.h"

#include <sensors.h>

#include <set>
#include <stdexcept>
#include <string_view>

#include "file_bytes.h"
#include "guid_less.h"
#include "ini_text.h"
#include "scenario_keys.h"
#include "scenario_text.h"

namespace {

constexpr const char* kSensorKeys[] = {
    "id",         "name",      "type",     "category",     "state",           "present",
    "latitude",   "longitude", "altitude", "error_radius", "satellites_used", "satellites_in_view",
    "wrong_type", "fail"};

// A mistake in the file, thrown with the place it was found.
struct ScenarioError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The scenario's values, copied out of the text for the parsers and messages.
class ScenarioIni {
public:
    explicit ScenarioIni(std::string_view text) : m_ini(text) {}

    std::optional<std::string> Value(const std::string& section, const char* key) const {
        const auto value = m_ini.Value(section, key);
        if (!value) return std::nullopt;
        return std::string(*value);
    }

    bool HasSection(const std::string& section) const { return m_ini.HasSection(section); }

private:
    IniText m_ini;
};

// A value quoted in a message: at most 80 bytes, on one line and harmless to
// a terminal, with control characters and bytes that are not UTF-8 as '?'.
std::string Quoted(std::string_view value) {
    constexpr std::size_t kMaxQuoted = 80;
    std::string_view shown = value.substr(0, kMaxQuoted);
    auto byteAt = [shown](std::size_t i) { return static_cast<unsigned char>(shown[i]); };
    if (shown.size() < value.size())
        while (!shown.empty() && (static_cast<unsigned char>(value[shown.size()]) & 0xC0) == 0x80)
            shown.remove_suffix(1);
    const bool utf8 = WideFromUtf8(std::string(shown)).has_value();
    std::string quoted;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const unsigned char byte = byteAt(i);
        if (utf8 && byte == 0xC2 && i + 1 < shown.size() && byteAt(i + 1) <= 0x9F) {
            quoted += '?';  // a C1 control, two bytes
            ++i;
        } else {
            quoted += byte < 0x20 || byte == 0x7F || (byte >= 0x80 && !utf8) ? '?' : shown[i];
        }
    }
    if (shown.size() < value.size()) quoted += "...";
    return quoted;
}

[[noreturn]] void Fail(const std::string& section, const char* key, const std::string& value, const char* what) {
    throw ScenarioError("[" + section + "] " + key + " = " + Quoted(value) + ": " + what);
}

template <class Parsed>
Parsed Require(const std::optional<Parsed>& parsed, const std::string& section, const char* key,
               const std::string& value, const char* what) {
    if (!parsed) Fail(section, key, value, what);
    return *parsed;
}

bool ReadChoice(const ScenarioIni& file, const std::string& section, const char* key, const char* yes,
                const char* no, bool fallback) {
    const auto value = file.Value(section, key);
    if (!value) return fallback;
    if (SameKeyword(*value, yes)) return true;
    if (SameKeyword(*value, no)) return false;
    Fail(section, key, *value, (std::string("expected ") + yes + " or " + no).c_str());
}

GUID ReadType(const std::string& section, const std::string& value) {
    for (const LocationTypeKey& type : kLocationTypeKeys)
        if (SameKeyword(value, type.key)) return *type.type;
    return Require(ParseGuid(value), section, "type", value, "not a location type name or {GUID}");
}

GUID ReadCategory(const std::string& section, const std::string& value) {
    if (SameKeyword(value, "location")) return SENSOR_CATEGORY_LOCATION;
    return Require(ParseGuid(value), section, "category", value, "not \"location\" or a {GUID}");
}

// The index of each listed name in `names`, as a set of bits.
template <std::size_t Count>
std::bitset<Count> ReadNameList(const std::string& section, const char* key, const std::string& value,
                                const char* const (&names)[Count]) {
    std::bitset<Count> bits;
    for (const std::string& item : SplitList(value)) {
        std::size_t index = 0;
        while (index < Count && !SameKeyword(item, names[index])) ++index;
        if (index == Count) Fail(section, key, value, ("unknown entry \"" + Quoted(item) + "\"").c_str());
        bits.set(index);
    }
    return bits;
}

std::optional<SensorDefinition> ReadSensor(const ScenarioIni& file, const std::string& section) {
    bool anyKey = false;
    for (const char* key : kSensorKeys) anyKey = anyKey || file.Value(section, key).has_value();
    if (!anyKey) return std::nullopt;

    SensorDefinition sensor;
    const auto id = file.Value(section, "id");
    if (!id) throw ScenarioError("[" + section + "] has no id");
    sensor.id = Require(ParseGuid(*id), section, "id", *id, "not a {GUID}");

    if (const auto name = file.Value(section, "name"))
        sensor.name = Require(WideFromUtf8(*name), section, "name", *name, "not UTF-8 text");
    const auto type = file.Value(section, "type");
    sensor.type = type ? ReadType(section, *type) : SENSOR_TYPE_LOCATION_GPS;
    const auto category = file.Value(section, "category");
    sensor.category = category ? ReadCategory(section, *category) : SENSOR_CATEGORY_LOCATION;
    if (const auto state = file.Value(section, "state"))
        sensor.state = Require(ParseInteger(*state), section, "state", *state, "not an integer");
    sensor.present = ReadChoice(file, section, "present", "yes", "no", true);

    for (std::size_t i = 0; i < kSensorValueCount; ++i) {
        const SensorValueField& field = kSensorValueFields[i];
        const auto text = file.Value(section, field.key);
        if (!text) continue;
        if (field.integer)
            sensor.values[i] = Require(ParseInteger(*text), section, field.key, *text, "not an integer");
        else
            sensor.values[i] = Require(ParseDecimal(*text), section, field.key, *text, "not a decimal number");
    }
    const char* valueKeys[kSensorValueCount];
    for (std::size_t i = 0; i < kSensorValueCount; ++i) valueKeys[i] = kSensorValueFields[i].key;
    if (const auto wrong = file.Value(section, "wrong_type"))
        sensor.wrongType = ReadNameList(section, "wrong_type", *wrong, valueKeys);
    if (const auto fail = file.Value(section, "fail"))
        sensor.failing = ReadNameList(section, "fail", *fail, kSensorOperationKeys);
    return sensor;
}

ProviderChoice ReadProvider(const ScenarioIni& file, const char* key, std::size_t sensorCount,
                            const ProviderChoice& fallback) {
    const auto value = file.Value("location", key);
    if (!value) return fallback;
    if (SameKeyword(*value, "none")) return {ProviderChoice::Kind::None, 0};
    for (std::size_t i = 0; i < sensorCount; ++i)
        if (SameKeyword(*value, "sensor" + std::to_string(i + 1))) return {ProviderChoice::Kind::Sensor, i};
    Fail("location", key, *value, "not \"none\" or one of the sensorN sections");
}

Scenario ReadAll(const ScenarioIni& file) {
    Scenario scenario;
    scenario.sensorApi = ReadChoice(file, "platform", "sensor_api", "present", "absent", true);
    scenario.locationApi = ReadChoice(file, "platform", "location_api", "present", "absent", true);
    scenario.latLongSupported = ReadChoice(file, "platform", "latlong_report", "supported", "unsupported", true);

    std::set<GUID, GuidLess> ids;
    for (int number = 1;; ++number) {
        auto sensor = ReadSensor(file, "sensor" + std::to_string(number));
        if (!sensor) break;
        if (!ids.insert(sensor->id).second)
            throw ScenarioError("[sensor" + std::to_string(number) + "] repeats the id of an earlier sensor");
        scenario.sensors.push_back(std::move(*sensor));
    }

    const std::size_t count = scenario.sensors.size();
    scenario.defaultProvider = ReadProvider(file, "default", count, ProviderChoice{});
    scenario.highProvider = ReadProvider(file, "high", count, scenario.defaultProvider);
    for (std::size_t i = 0; i < kCivicFieldCount; ++i) {
        if (const auto text = file.Value("location", kCivicFieldKeys[i]))
            scenario.civic[i] =
                Require(WideFromUtf8(*text), "location", kCivicFieldKeys[i], *text, "not UTF-8 text");
    }
    if (file.HasSection("gpsd")) scenario.gpsdServer = file.Value("gpsd", "server").value_or("127.0.0.1:2947");
    if (const auto stale = file.Value("gpsd", "stale_seconds")) {
        const auto seconds = ParseInteger(*stale);
        if (!seconds || *seconds < 1 || *seconds > 3600)
            Fail("gpsd", "stale_seconds", *stale, "not an integer from 1 to 3600");
        scenario.gpsdStaleSeconds = *seconds;
    }
    return scenario;
}

}  // namespace

ScenarioReadResult ParseScenario(std::string_view text) {
    try {
        return {ReadAll(ScenarioIni(text)), {}};
    } catch (const ScenarioError& error) {
        return {std::nullopt, error.what()};
    }
}

ScenarioReadResult ReadScenario(const std::string& path) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return {std::nullopt, "cannot read the file"};
    return ParseScenario(*bytes);
}
