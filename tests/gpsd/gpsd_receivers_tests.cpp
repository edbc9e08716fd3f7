#include <sensors.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gpsd_receivers.h"
#include "gpsd_scenario.h"
#include "name_uuid.h"
#include "scenario_text.h"

namespace {

std::string GuidText(const GUID& id) {
    char text[40];
    std::snprintf(text, sizeof text, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", static_cast<unsigned>(id.Data1),
                  id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5],
                  id.Data4[6], id.Data4[7]);
    return text;
}

TEST(NameUuid, MatchesRfc4122Version5) {
    // Answers of Python's uuid.uuid5(uuid.NAMESPACE_URL, name).
    const struct {
        std::string name;
        const char* uuid;
    } cases[] = {
        {"gpsd:/dev/ttyUSB0", "58a7595c-97b6-500c-803a-63c50a1ae1ab"},
        {"gpsd:tcp://127.0.0.1:4000", "a9a7632b-89e5-51c6-a6a6-8cf4d568aea6"},
        {"gpsd:" + std::string(100, 'x'), "92f69165-979c-5ba1-a8b8-a8a0ecb17334"},  // more than one SHA-1 block
    };
    for (const auto& c : cases) EXPECT_EQ(GuidText(NameUuidInUrlNamespace(c.name)), c.uuid) << c.name;
}

constexpr char kDevices[] =
    R"({"class":"DEVICES","devices":[{"class":"DEVICE","path":"/dev/ttyUSB0","driver":"NMEA0183","activated":"2024-01-01T00:00:00.000Z"}]})";

struct Expected {
    long state;
    std::optional<double> latitude, longitude, altitude, errorRadius, used, inView;
};

SensorDefinition OnlySensor(const std::vector<std::string>& lines) {
    GpsdReceivers receivers;
    for (const std::string& line : lines) EXPECT_EQ(receivers.Apply(line), GpsdReceivers::Line::Understood) << line;
    const auto sensors = receivers.Sensors();
    EXPECT_EQ(sensors.size(), 1u);
    return sensors.empty() ? SensorDefinition{} : sensors.front();
}

TEST(GpsdReceivers, ReportsBecomeSensorValues) {
    const struct {
        const char* what;
        std::vector<std::string> lines;
        Expected expected;
    } cases[] = {
        {"named, no report yet", {kDevices}, {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, {}, {}}},
        {"3D fix: altMSL before alt, eph",
         {kDevices,
          R"({"class":"TPV","device":"/dev/ttyUSB0","mode":3,"lat":35.5,"lon":-139.25,"alt":12.0,"altMSL":40.5,"eph":6.5,"epx":9.0})"},
         {SENSOR_STATE_READY, 35.5, -139.25, 40.5, 6.5, {}, {}}},
        {"3D fix: alt, larger of epx and epy",
         {kDevices, R"({"class":"TPV","device":"/dev/ttyUSB0","mode":3,"lat":1,"lon":2,"alt":12.0,"epx":3.0,"epy":4.5})"},
         {SENSOR_STATE_READY, 1, 2, 12.0, 4.5, {}, {}}},
        {"2D fix has no altitude",
         {kDevices, R"({"class":"TPV","device":"/dev/ttyUSB0","mode":2,"lat":1,"lon":2,"alt":12.0})"},
         {SENSOR_STATE_READY, 1, 2, {}, {}, {}, {}}},
        {"a lost fix drops the position",
         {kDevices, R"({"class":"TPV","device":"/dev/ttyUSB0","mode":3,"lat":1,"lon":2,"alt":3})",
          R"({"class":"TPV","device":"/dev/ttyUSB0","mode":1,"lat":1,"lon":2})"},
         {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, {}, {}}},
        {"values of the wrong type are absent",
         {kDevices, R"({"class":"TPV","device":"/dev/ttyUSB0","mode":3,"lat":"north","lon":2,"eph":null})"},
         {SENSOR_STATE_READY, {}, 2, {}, {}, {}, {}}},
        {"uSat and nSat",
         {kDevices, R"({"class":"SKY","device":"/dev/ttyUSB0","uSat":7,"nSat":11,"satellites":[]})"},
         {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, 7, 11}},
        {"counted from the list; a SKY of dilutions only keeps them",
         {kDevices,
          R"({"class":"SKY","device":"/dev/ttyUSB0","satellites":[{"PRN":1,"used":true},{"PRN":2,"used":false},{"PRN":3}]})",
          R"({"class":"SKY","device":"/dev/ttyUSB0","hdop":1.2})"},
         {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, 1, 3}},
        {"latest reports answering ?POLL",
         {kDevices,
          R"({"class":"POLL","active":1,"tpv":[{"class":"TPV","device":"/dev/ttyUSB0","mode":2,"lat":-1,"lon":-2}],"sky":[{"class":"SKY","device":"/dev/ttyUSB0","uSat":4,"nSat":9}]})"},
         {SENSOR_STATE_READY, -1, -2, {}, {}, 4, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const SensorDefinition sensor = OnlySensor(c.lines);
        EXPECT_EQ(sensor.state, c.expected.state);
        EXPECT_EQ(sensor.Value(SensorValue::Latitude), c.expected.latitude);
        EXPECT_EQ(sensor.Value(SensorValue::Longitude), c.expected.longitude);
        EXPECT_EQ(sensor.Value(SensorValue::Altitude), c.expected.altitude);
        EXPECT_EQ(sensor.Value(SensorValue::ErrorRadius), c.expected.errorRadius);
        EXPECT_EQ(sensor.Value(SensorValue::SatellitesUsed), c.expected.used);
        EXPECT_EQ(sensor.Value(SensorValue::SatellitesInView), c.expected.inView);
    }
}

TEST(GpsdReceivers, OneSensorPerDeviceWhileGpsdNamesIt) {
    GpsdReceivers receivers;
    receivers.Apply(kDevices);
    receivers.Apply(R"({"class":"DEVICE","path":"/dev/ttyACM0","driver":"u-blox","activated":"2024-01-01T00:00:01.000Z"})");
    receivers.Apply(R"({"class":"TPV","device":"/dev/ttyS1","mode":1})");
    auto sensors = receivers.Sensors();
    ASSERT_EQ(sensors.size(), 3u);
    EXPECT_EQ(sensors[0].name, L"NMEA0183 /dev/ttyUSB0");
    EXPECT_EQ(sensors[1].name, L"u-blox /dev/ttyACM0");
    EXPECT_EQ(sensors[2].name, L"/dev/ttyS1");
    EXPECT_TRUE(IsEqualGUID(sensors[0].id, NameUuidInUrlNamespace("gpsd:/dev/ttyUSB0")));
    EXPECT_TRUE(IsEqualGUID(sensors[0].type, SENSOR_TYPE_LOCATION_GPS));
    EXPECT_TRUE(IsEqualGUID(sensors[0].category, SENSOR_CATEGORY_LOCATION));

    receivers.Apply(R"({"class":"DEVICE","path":"/dev/ttyUSB0","activated":0})");
    sensors = receivers.Sensors();
    ASSERT_EQ(sensors.size(), 2u);
    EXPECT_EQ(sensors[0].name, L"u-blox /dev/ttyACM0");

    receivers.Apply(R"({"class":"DEVICES","devices":[{"class":"DEVICE","path":"/dev/ttyS1","driver":"SiRF"}]})");
    sensors = receivers.Sensors();
    ASSERT_EQ(sensors.size(), 1u);
    EXPECT_EQ(sensors[0].name, L"SiRF /dev/ttyS1");
}

TEST(GpsdReceivers, TextThatIsNotAReportIsGarbage) {
    for (const char* line : {"HTTP/1.1 400 Bad Request", "{\"class\":\"TPV\"", "[1,2]", "{\"mode\":3}", "\x01\xff\xfe"}) {
        GpsdReceivers receivers;
        EXPECT_EQ(receivers.Apply(line), GpsdReceivers::Line::Garbage) << line;
        EXPECT_TRUE(receivers.Sensors().empty());
    }
}

TEST(GpsdScenario, LocationApiServesTheFirstReadyReceiverUnlessTheScenarioNamesOne) {
    SensorDefinition fileSensor;
    fileSensor.values[SensorDefinition::Index(SensorValue::Latitude)] = 10;
    fileSensor.values[SensorDefinition::Index(SensorValue::Longitude)] = 20;
    GpsdReceivers receivers;
    receivers.Apply(kDevices);
    receivers.Apply(R"({"class":"DEVICE","path":"/dev/ttyACM0","driver":"u-blox"})");
    receivers.Apply(R"({"class":"TPV","device":"/dev/ttyACM0","mode":3,"lat":30,"lon":40})");

    Scenario scenario;
    scenario.sensors = {fileSensor};
    scenario.gpsdServer = "127.0.0.1:2947";
    const Scenario merged = WithGpsdReceivers(scenario, receivers.Sensors());
    ASSERT_EQ(merged.sensors.size(), 3u);
    for (auto accuracy : {LOCATION_DESIRED_ACCURACY_DEFAULT, LOCATION_DESIRED_ACCURACY_HIGH}) {
        const SensorDefinition* provider = merged.LocationProvider(accuracy);
        ASSERT_NE(provider, nullptr);
        EXPECT_EQ(provider->name, L"u-blox /dev/ttyACM0");
    }

    scenario.defaultProvider = scenario.highProvider = {ProviderChoice::Kind::Sensor, 0};
    const Scenario named = WithGpsdReceivers(scenario, receivers.Sensors());
    EXPECT_EQ(named.LocationProvider(LOCATION_DESIRED_ACCURACY_HIGH), &named.sensors[0]);
}

}  // namespace
