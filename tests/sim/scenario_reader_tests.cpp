#include <sensors.h>

#include <gtest/gtest.h>

#include "scenario_reader.h"
#include "sim_test_support.h"

namespace {

class ScenarioReaderTest : public SimTest {
protected:
    Scenario Read(const std::string& text) {
        m_scenario.Write(text);
        ScenarioReadResult result = ReadScenario(m_scenario.Path());
        EXPECT_TRUE(result.scenario.has_value()) << result.error;
        return result.scenario.value_or(Scenario{});
    }

    std::string ErrorOf(const std::string& text) {
        m_scenario.Write(text);
        ScenarioReadResult result = ReadScenario(m_scenario.Path());
        EXPECT_FALSE(result.scenario.has_value());
        return result.error;
    }
};

TEST_F(ScenarioReaderTest, SensorWithOnlyAnId_GetsEveryDefault) {
    const Scenario scenario = Read(std::string("[sensor1]\nid=") + kFirstId + "\n");

    EXPECT_TRUE(scenario.sensorApi);
    EXPECT_TRUE(scenario.locationApi);
    EXPECT_TRUE(scenario.latLongSupported);
    ASSERT_EQ(scenario.sensors.size(), 1u);
    const SensorDefinition& sensor = scenario.sensors[0];
    EXPECT_TRUE(IsEqualGUID(sensor.id, TestGuid(kFirstId)));
    EXPECT_EQ(sensor.name, L"");
    EXPECT_TRUE(IsEqualGUID(sensor.type, SENSOR_TYPE_LOCATION_GPS));
    EXPECT_TRUE(IsEqualGUID(sensor.category, SENSOR_CATEGORY_LOCATION));
    EXPECT_EQ(sensor.state, 0);
    EXPECT_TRUE(sensor.present);
    for (const auto& value : sensor.values) EXPECT_FALSE(value.has_value());
    EXPECT_TRUE(sensor.wrongType.none());
    EXPECT_TRUE(sensor.failing.none());
    EXPECT_EQ(scenario.defaultProvider.kind, ProviderChoice::Kind::FirstWithFix);
    EXPECT_EQ(scenario.highProvider.kind, ProviderChoice::Kind::FirstWithFix);
    EXPECT_FALSE(scenario.HasCivicAddress());
}

TEST_F(ScenarioReaderTest, EveryKeyIsRead) {
    const Scenario scenario = Read(std::string("[platform]\nsensor_api = absent\nlocation_api = absent\n"
                                               "latlong_report = unsupported\n"
                                               "[sensor1]\nid = ") +
                                   kFirstId +
                                   "\nname = Receiver \xE6\x9D\xB1\xE4\xBA\xAC\ntype = triangulation\n"
                                   "category = {AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}\nstate = 4\npresent = no\n"
                                   "latitude = -33.5\nlongitude = +151.25\naltitude = 12.75\nerror_radius = 3e1\n"
                                   "satellites_used = 7\nsatellites_in_view = -2\n"
                                   "wrong_type = latitude, satellites_used\nfail = fetch,data , name\n"
                                   "[sensor2]\nid = " +
                                   kSecondId +
                                   "\n"
                                   "[location]\ndefault = sensor2\nhigh = none\npostal_code = 100-0005\n"
                                   "state_province = Tokyo\ncity = Chiyoda\naddress_line1 = 1-9-1\n"
                                   "address_line2 = Marunouchi\n");

    EXPECT_FALSE(scenario.sensorApi);
    EXPECT_FALSE(scenario.locationApi);
    EXPECT_FALSE(scenario.latLongSupported);
    ASSERT_EQ(scenario.sensors.size(), 2u);
    const SensorDefinition& sensor = scenario.sensors[0];
    EXPECT_EQ(sensor.name, L"Receiver \u6771\u4eac");
    EXPECT_TRUE(IsEqualGUID(sensor.type, SENSOR_TYPE_LOCATION_TRIANGULATION));
    EXPECT_TRUE(IsEqualGUID(sensor.category, TestGuid("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}")));
    EXPECT_EQ(sensor.state, 4);
    EXPECT_FALSE(sensor.present);
    EXPECT_EQ(sensor.Value(SensorValue::Latitude), -33.5);
    EXPECT_EQ(sensor.Value(SensorValue::Longitude), 151.25);
    EXPECT_EQ(sensor.Value(SensorValue::Altitude), 12.75);
    EXPECT_EQ(sensor.Value(SensorValue::ErrorRadius), 30.0);
    EXPECT_EQ(sensor.Value(SensorValue::SatellitesUsed), 7.0);
    EXPECT_EQ(sensor.Value(SensorValue::SatellitesInView), -2.0);
    EXPECT_TRUE(sensor.HasWrongType(SensorValue::Latitude));
    EXPECT_TRUE(sensor.HasWrongType(SensorValue::SatellitesUsed));
    EXPECT_EQ(sensor.wrongType.count(), 2u);
    EXPECT_TRUE(sensor.Fails(SensorOperation::Fetch));
    EXPECT_TRUE(sensor.Fails(SensorOperation::Data));
    EXPECT_TRUE(sensor.Fails(SensorOperation::Name));
    EXPECT_EQ(sensor.failing.count(), 3u);

    EXPECT_EQ(scenario.defaultProvider.kind, ProviderChoice::Kind::Sensor);
    EXPECT_EQ(scenario.defaultProvider.sensorIndex, 1u);
    EXPECT_EQ(scenario.highProvider.kind, ProviderChoice::Kind::None);
    EXPECT_EQ(scenario.civic[0], L"100-0005");
    EXPECT_EQ(scenario.civic[1], L"Tokyo");
    EXPECT_EQ(scenario.civic[2], L"Chiyoda");
    EXPECT_EQ(scenario.civic[3], L"1-9-1");
    EXPECT_EQ(scenario.civic[4], L"Marunouchi");
}

TEST_F(ScenarioReaderTest, TypeNamesAndKeywordsIgnoreCase) {
    const char* const names[] = {"GPS", "broadcast", "Dead_Reckoning", "lookup", "other", "triangulation"};
    const GUID* const types[] = {
        &SENSOR_TYPE_LOCATION_GPS,    &SENSOR_TYPE_LOCATION_BROADCAST, &SENSOR_TYPE_LOCATION_DEAD_RECKONING,
        &SENSOR_TYPE_LOCATION_LOOKUP, &SENSOR_TYPE_LOCATION_OTHER,     &SENSOR_TYPE_LOCATION_TRIANGULATION};
    for (int i = 0; i < 6; ++i) {
        const Scenario scenario =
            Read(std::string("[sensor1]\nid=") + kFirstId + "\ntype=" + names[i] + "\npresent=YES\n");
        ASSERT_EQ(scenario.sensors.size(), 1u);
        EXPECT_TRUE(IsEqualGUID(scenario.sensors[0].type, *types[i])) << names[i];
        EXPECT_TRUE(scenario.sensors[0].present);
    }
    const Scenario byGuid = Read(std::string("[sensor1]\nid=") + kFirstId +
                                 "\ntype={12345678-1234-1234-1234-123456789ABC}\ncategory=LOCATION\n");
    EXPECT_TRUE(IsEqualGUID(byGuid.sensors[0].type, TestGuid("{12345678-1234-1234-1234-123456789ABC}")));
    EXPECT_TRUE(IsEqualGUID(byGuid.sensors[0].category, SENSOR_CATEGORY_LOCATION));
}

TEST_F(ScenarioReaderTest, EnumerationStopsAtTheFirstMissingSection) {
    const Scenario scenario = Read(std::string("[sensor1]\nid=") + kFirstId + "\n[sensor3]\nid=" + kThirdId +
                                   "\n[sensor2]\nunrelated=1\n");
    ASSERT_EQ(scenario.sensors.size(), 1u);
    EXPECT_TRUE(IsEqualGUID(scenario.sensors[0].id, TestGuid(kFirstId)));
}

TEST_F(ScenarioReaderTest, SectionsAreReadInNumberOrderNotFileOrder) {
    const Scenario scenario =
        Read(std::string("[sensor2]\nid=") + kSecondId + "\n[sensor1]\nid=" + kFirstId + "\n");
    ASSERT_EQ(scenario.sensors.size(), 2u);
    EXPECT_TRUE(IsEqualGUID(scenario.sensors[0].id, TestGuid(kFirstId)));
    EXPECT_TRUE(IsEqualGUID(scenario.sensors[1].id, TestGuid(kSecondId)));
}

TEST_F(ScenarioReaderTest, HighAccuracyFollowsTheDefaultChoiceUnlessGiven) {
    const Scenario scenario = Read(std::string("[sensor1]\nid=") + kFirstId + "\n[location]\ndefault=sensor1\n");
    EXPECT_EQ(scenario.highProvider.kind, ProviderChoice::Kind::Sensor);
    EXPECT_EQ(scenario.highProvider.sensorIndex, 0u);
}

TEST_F(ScenarioReaderTest, EmptyFile_GivesTheEmptyScenario) {
    const Scenario scenario = Read("");
    EXPECT_TRUE(scenario.sensors.empty());
    EXPECT_TRUE(scenario.sensorApi);
}

TEST_F(ScenarioReaderTest, IniText_IsReadAsWindowsReadsProfiles) {
    const std::string id = std::string("id=") + kFirstId;
    struct Case {
        std::string text;
        const wchar_t* name;
    } cases[] = {
        {"[sensor1]\n" + id + "\nname=\"  Quoted  \"\n", L"  Quoted  "},
        {"[sensor1]\n" + id + "\nname='Single'\n", L"Single"},
        {"[sensor1]\n" + id + "\nname=\"Half\n", L"\"Half"},
        {"  [ SENSOR1 ]  \r\n" + id + "\r\n  NAME  =  Blanks  \r\n", L"Blanks"},
        {"[sensor1]\r" + id + "\rname=CR only\r", L"CR only"},
        {"\xEF\xBB\xBF[sensor1]\n" + id + "\nname=After BOM\n", L"After BOM"},
        {"name=Before\n[sensor1]\n" + id + "\n;name=Comment\nname\nname=First\nname=Second\n[sensor1]\nname=Again\n",
         L"First"},
    };
    for (const Case& c : cases) {
        const Scenario scenario = Read(c.text);
        ASSERT_EQ(scenario.sensors.size(), 1u) << c.text;
        EXPECT_EQ(scenario.sensors[0].name, c.name) << c.text;
    }
}

TEST_F(ScenarioReaderTest, Mistakes_AreReportedWithTheirPlace) {
    const std::string first = std::string("[sensor1]\nid=") + kFirstId + "\n";
    struct Case {
        std::string text;
        std::string expected;
    } cases[] = {
        {"[sensor1]\nname=no id\n", "[sensor1] has no id"},
        {"[sensor1]\nid={1234}\n", "[sensor1] id = {1234}: not a {GUID}"},
        {"[sensor1]\nid=11111111-2222-3333-4444-555555555555\n", "not a {GUID}"},
        {first + "latitude=35.6x\n", "[sensor1] latitude = 35.6x: not a decimal number"},
        {first + "longitude=nan\n", "longitude = nan: not a decimal number"},
        {first + "satellites_used=7.5\n", "satellites_used = 7.5: not an integer"},
        {first + "satellites_in_view=99999999999\n", "not an integer"},
        {first + "state=ready\n", "state = ready: not an integer"},
        {first + "present=maybe\n", "present = maybe: expected yes or no"},
        {first + "type=sonar\n", "type = sonar: not a location type name or {GUID}"},
        {first + "category=motion\n", "category = motion"},
        {first + "wrong_type=latitude,speed\n", "wrong_type = latitude,speed: unknown entry \"speed\""},
        {first + "fail=id,timestamp\n", "unknown entry \"timestamp\""},
        {first + "[sensor2]\nid=" + kFirstId + "\n", "[sensor2] repeats the id of an earlier sensor"},
        {"[platform]\nsensor_api=maybe\n", "[platform] sensor_api = maybe: expected present or absent"},
        {"[platform]\nlatlong_report=yes\n", "expected supported or unsupported"},
        {first + "[location]\ndefault=sensor2\n", "[location] default = sensor2"},
        {first + "[location]\nhigh=gps\n", "[location] high = gps"},
        {"[gpsd]\nstale_seconds=0\n", "[gpsd] stale_seconds = 0: not an integer from 1 to 3600"},
        {"[gpsd]\nstale_seconds=3601\n", "[gpsd] stale_seconds = 3601"},
        // Quoted on one line, harmless to a terminal, and at most 80 bytes of it.
        {first + "state=\x1b[2J\xC2\x9B" "1m\x7F\n", "state = ?[2J?1m?: not an integer"},
        {first + "name=\xFF\x9B" "2J \xC3\n", "name = ??2J ?: not UTF-8 text"},
        {first + "fail=id,\x1b]0;x\x07\n", "fail = id,?]0;x?: unknown entry \"?]0;x?\""},
        {first + "latitude=" + std::string(79, '1') + "\xC3\xA9\n",
         "latitude = " + std::string(79, '1') + "...: not a decimal number"},
    };
    for (const Case& c : cases) EXPECT_NE(ErrorOf(c.text).find(c.expected), std::string::npos) << c.text;
}

}  // namespace
