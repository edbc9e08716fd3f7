// skyprobe --json on every golden scenario: the JSON tells what the text
// report tells. The text is derived from the JSON and compared with the
// real text report, so no second expected file per case is needed.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "child_process.h"

namespace {

using nlohmann::json;

const char kSeparator[] = "------------------------------------------------------------------------\n";

// The text report's treatment of sensor text: control characters but the
// tab become '?'.
std::string Printable(const std::string& text) {
    std::string printable;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if ((byte < 0x20 && byte != '\t') || byte == 0x7f) {
            printable += '?';
        } else if (byte == 0xc2 && next >= 0x80 && next <= 0x9f) {
            printable += '?';
            ++i;
        } else {
            printable += text[i];
        }
    }
    return printable;
}

std::string Decimal(const json& value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value.get<double>());
    return text;
}

std::string NameText(const json& name) { return name.is_null() ? "" : Printable(name.get<std::string>()); }

std::string AccuracyText(const json& accuracy) {
    if (!accuracy.at("report").get<bool>()) return "GetReport Error!\n";
    std::string text;
    if (accuracy.contains("sensor")) text += "Providing Sensor Name: " + NameText(accuracy["sensor"]) + "\n";
    if (accuracy.contains("latitude") || accuracy.contains("longitude"))
        text += "latitude,longitude : " + Decimal(accuracy.value("latitude", json(0.0))) + ", " +
                Decimal(accuracy.value("longitude", json(0.0))) + "\n";
    const std::pair<const char*, const char*> fields[] = {
        {"postal_code", "\tPostal Code:\t"},       {"state_province", "\tState/Province:\t"},
        {"city", "\tCity:\t\t"},                   {"address_line1", "\tAddress Line 1:\t"},
        {"address_line2", "\tAddress Line 2:\t"},
    };
    for (const auto& [key, label] : fields)
        if (accuracy.at("address").contains(key))
            text += label + Printable(accuracy["address"][key].get<std::string>()) + "\n";
    return text;
}

std::string TextFromJson(const json& report) {
    std::string text = std::string(kSeparator) + " Location Sensor Status\n" + kSeparator;
    const std::pair<const char*, const char*> values[] = {
        {"SENSOR_DATA_TYPE_LATITUDE_DEGREES", "SENSOR_DATA_TYPE_LATITUDE_DEGREES : "},
        {"SENSOR_DATA_TYPE_LONGITUDE_DEGREES", "SENSOR_DATA_TYPE_LONGITUDE_DEGREES: "},
        {"SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS", "SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS: "},
        {"SENSOR_DATA_TYPE_ERROR_RADIUS_METERS", "SENSOR_DATA_TYPE_ERROR_RADIUS_METERS: "},
    };
    for (const json& sensor : report.at("sensors").is_null() ? json::array() : report["sensors"]) {
        text += "Location Sensor name: " + NameText(sensor.at("name")) + "\n";
        if (sensor.contains("type")) text += "Sensor type  : " + sensor["type"].get<std::string>() + "\n";
        text += "Sensor status: " + sensor.at("state").get<std::string>() + "\n";
        if (sensor.contains("values")) {
            size_t shown = 0;
            for (const auto& [field, label] : values) {
                if (!sensor["values"].contains(field)) continue;
                text += label + Decimal(sensor["values"][field]) + "\n";
                ++shown;
            }
            EXPECT_EQ(shown, sensor["values"].size()) << "a value the text report does not show";
            if (sensor.contains("map")) text += sensor["map"].get<std::string>() + "\n";
        }
        text += "\n";
    }
    text += std::string(kSeparator) + " Location API status \n" + kSeparator;
    const json& location = report.at("location");
    if (location.is_object() && location.contains("default")) {
        text += "Location API data (Desired Accuracy : DEFAULT)\n" + AccuracyText(location["default"]);
        text += "\nLocation API data (Desired Accuracy : HIGH)\n" + AccuracyText(location.at("high"));
    }
    return text;
}

// JSON carries no raw control character: a line of UTF-8 with its one
// line feed at the end, and no byte-order mark.
void ExpectOneCleanLine(const std::string& output) {
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(output.back(), '\n');
    EXPECT_NE(output.rfind("\xEF\xBB\xBF", 0), 0u);
    for (size_t i = 0; i + 1 < output.size(); ++i) {
        const auto byte = static_cast<unsigned char>(output[i]);
        const auto next = static_cast<unsigned char>(output[i + 1]);
        EXPECT_FALSE(byte < 0x20 || byte == 0x7f || (byte == 0xc2 && next >= 0x80 && next <= 0x9f))
            << "raw control byte at " << i;
    }
}

const json* SensorById(const json& report, const std::string& id) {
    for (const json& sensor : report.at("sensors"))
        if (sensor.value("id", "") == id) return &sensor;
    return nullptr;
}

// What only the JSON can tell apart, per golden case.
const std::map<std::string, std::function<void(const json&)>> kJsonOnly = {
    {"sensor_api_absent", [](const json& report) { EXPECT_TRUE(report["sensors"].is_null()); }},
    {"no_location_sensor", [](const json& report) { EXPECT_EQ(report["sensors"], json::array()); }},
    {"location_api_absent", [](const json& report) { EXPECT_TRUE(report["location"].is_null()); }},
    {"sensor_reads",
     [](const json& report) {
         const json* nameless = SensorById(report, "{3F2504E0-4F89-11D3-9A0C-0305E82C3303}");
         ASSERT_NE(nameless, nullptr);
         EXPECT_TRUE(nameless->at("name").is_null());
         const json* stateless = SensorById(report, "{3F2504E0-4F89-11D3-9A0C-0305E82C3305}");
         ASSERT_NE(stateless, nullptr);
         EXPECT_FALSE(stateless->contains("state_number"));
         EXPECT_FALSE(stateless->contains("values"));
         const json* oddState = SensorById(report, "{3F2504E0-4F89-11D3-9A0C-0305E82C3309}");
         ASSERT_NE(oddState, nullptr);
         EXPECT_EQ(oddState->at("state_number"), 7);
     }},
    {"unprintable_text",
     [](const json& report) {
         EXPECT_EQ(report["sensors"][0]["name"], "\xE2\x82\xAC GNSS \xE2\x80\x94 \xE3\x80\x9C \xF0\x9F\x9B\xB0 "
                                                 "\xED\x95\x9C \x1b[31mred\x07");
     }},
};

TEST(SkyprobeJson, EveryGoldenScenario_TellsWhatTheTextReportTells) {
    int cases = 0;
    for (const auto& entry : std::filesystem::directory_iterator(GOLDEN_DIR)) {
        if (entry.path().extension() != ".ini") continue;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        ++cases;
        const std::map<std::string, std::string> environment{{"SENSORSIM_SCENARIO", entry.path().string()}};
        const ProgramRun text = RunProgram(SKYPROBE_EXE, {}, environment);
        const ProgramRun run = RunProgram(SKYPROBE_EXE, {"--json"}, environment);
        ExpectOneCleanLine(run.output);
        const json report = json::parse(run.output);
        EXPECT_EQ(TextFromJson(report), text.output);
        EXPECT_EQ(run.exitCode, text.exitCode);
        EXPECT_EQ(report.at("exit_code"), run.exitCode);
        EXPECT_FALSE(report.contains("wait"));
        if (auto only = kJsonOnly.find(name); only != kJsonOnly.end()) only->second(report);
    }
    EXPECT_GE(cases, 7);
}

}  // namespace
