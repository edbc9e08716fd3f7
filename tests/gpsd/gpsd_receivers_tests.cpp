#include <sensors.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gpsd_receivers.h"
#include "gpsd_scenario.h"
#include "line_assembler.h"
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

void ExpectSensor(const SensorDefinition& sensor, const Expected& expected) {
    EXPECT_EQ(sensor.state, expected.state);
    EXPECT_EQ(sensor.Value(SensorValue::Latitude), expected.latitude);
    EXPECT_EQ(sensor.Value(SensorValue::Longitude), expected.longitude);
    EXPECT_EQ(sensor.Value(SensorValue::Altitude), expected.altitude);
    EXPECT_EQ(sensor.Value(SensorValue::ErrorRadius), expected.errorRadius);
    EXPECT_EQ(sensor.Value(SensorValue::SatellitesUsed), expected.used);
    EXPECT_EQ(sensor.Value(SensorValue::SatellitesInView), expected.inView);
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
         {kDevices, R"({"class":"TPV","device":"/dev/ttyUSB0","mode":3,"lat":1,"lon":2,"altMSL":"high","alt":5,"eph":null})"},
         {SENSOR_STATE_READY, 1, 2, 5, {}, {}, {}}},
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
        ExpectSensor(OnlySensor(c.lines), c.expected);
    }
}

TEST(GpsdReceivers, ValuesOutOfTheirRangeAreAbsentAndAPositionOffEarthIsNoFix) {
    const std::string tpv = R"({"class":"TPV","device":"/dev/ttyUSB0","mode":3,)";
    const std::string sky = R"({"class":"SKY","device":"/dev/ttyUSB0",)";
    const struct {
        std::string line;
        Expected expected;
    } cases[] = {
        {tpv + R"("lat":90,"lon":-180})", {SENSOR_STATE_READY, 90, -180, {}, {}, {}, {}}},
        {tpv + R"("lat":-90.000001,"lon":2,"alt":3})", {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, {}, {}}},
        {tpv + R"("lat":1,"lon":180.5})", {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, {}, {}}},
        {tpv + R"("lat":1e308,"lon":-1e308})", {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, {}, {}}},
        {tpv + R"("lon":2,"alt":3})", {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, {}, {}}},
        {tpv + R"("lat":1,"lon":2,"altMSL":-1000,"eph":0})", {SENSOR_STATE_READY, 1, 2, -1000, 0, {}, {}}},
        {tpv + R"("lat":1,"lon":2,"altMSL":-99999})", {SENSOR_STATE_READY, 1, 2, {}, {}, {}, {}}},
        {tpv + R"("lat":1,"lon":2,"altMSL":1e308,"alt":12})", {SENSOR_STATE_READY, 1, 2, 12, {}, {}, {}}},
        {tpv + R"("lat":1,"lon":2,"eph":-1,"epx":3})", {SENSOR_STATE_READY, 1, 2, {}, 3, {}, {}}},
        {tpv + R"("lat":1,"lon":2,"eph":1e308})", {SENSOR_STATE_READY, 1, 2, {}, {}, {}, {}}},
        {sky + R"("uSat":5,"nSat":5})", {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, 5, 5}},
        {sky + R"("uSat":50,"nSat":5})", {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, {}, 5}},
        {sky + R"("uSat":3,"nSat":256})", {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, 3, {}}},
        {sky + R"("uSat":255,"nSat":255})", {SENSOR_STATE_INITIALIZING, {}, {}, {}, {}, 255, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ExpectSensor(OnlySensor({kDevices, c.line}), c.expected);
    }
}

std::vector<std::wstring> Names(const GpsdReceivers& receivers) {
    std::vector<std::wstring> names;
    for (const SensorDefinition& sensor : receivers.Sensors()) names.push_back(sensor.name);
    return names;
}

TEST(GpsdReceivers, AtMost32ReceiversEachNamedApart) {
    GpsdReceivers receivers;
    for (int i = 1; i <= 40; ++i)
        receivers.Apply(R"({"class":"DEVICE","path":"/dev/gps)" + std::to_string(i) + R"("})");
    ASSERT_EQ(receivers.Sensors().size(), 32u);
    EXPECT_EQ(receivers.Sensors().back().name, L"/dev/gps32");
    EXPECT_TRUE(receivers.Overflowed());

    receivers = GpsdReceivers();
    receivers.Apply(R"({"class":"DEVICE","path":"/dev/a","driver":"u-blox"})");
    receivers.Apply(R"({"class":"DEVICE","path":"u-blox /dev/a"})");
    receivers.Apply(R"({"class":"DEVICE","path":"/dev/b\u0001"})");
    receivers.Apply(R"({"class":"DEVICE","path":"/dev/b\u0000"})");
    EXPECT_EQ(Names(receivers),
              (std::vector<std::wstring>{L"u-blox /dev/a", L"u-blox /dev/a (2)", L"/dev/b?", L"/dev/b? (2)"}));
    EXPECT_FALSE(receivers.Overflowed());
}

TEST(GpsdReceivers, AReportWithoutADeviceGoesToTheOnlyReceiverOrNowhere) {
    constexpr char kFix[] = R"({"class":"TPV","mode":2,"lat":1,"lon":2})";
    GpsdReceivers receivers;
    receivers.Apply(kFix);
    EXPECT_TRUE(receivers.Sensors().empty());
    receivers.Apply(kDevices);
    receivers.Apply(R"({"class":"DEVICE","path":"/dev/ttyACM0"})");
    receivers.Apply(kFix);
    for (const SensorDefinition& sensor : receivers.Sensors()) EXPECT_EQ(sensor.state, SENSOR_STATE_INITIALIZING);
    receivers.Apply(R"({"class":"DEVICE","path":"/dev/ttyACM0","activated":0})");
    receivers.Apply(kFix);
    EXPECT_EQ(receivers.Sensors().at(0).state, SENSOR_STATE_READY);
}

TEST(LineAssembler, LinesLongerThanTheLimitAreDroppedUpToTheirEnd) {
    const struct {
        const char* what;
        std::vector<std::string> chunks;
        std::vector<std::string> lines;
        bool fits;
    } cases[] = {
        {"split anywhere, LF or CR LF", {"ab", "c\r", "\nde\n", "f"}, {"abc", "de"}, true},
        {"exactly the limit before CR LF", {"abcd\r", "\n"}, {"abcd"}, true},
        {"one byte over", {"abcde\nxy\n"}, {"xy"}, false},
        {"over across chunks, then a line", {"abc", "de", "fgh", "ij\nok\n"}, {"ok"}, false},
        {"a CR not before the LF counts", {"abcd\r", "e\n", "z\n"}, {"z"}, false},
        {"the limit plus one byte held, then LF", {"abcde", "\n"}, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LineAssembler assembler(4);
        std::vector<std::string> lines;
        bool fits = true;
        for (const std::string& chunk : c.chunks) fits = assembler.Feed(chunk, lines) && fits;
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(fits, c.fits);
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
