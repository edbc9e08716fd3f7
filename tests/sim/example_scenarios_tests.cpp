#include <sensors.h>

#include <gtest/gtest.h>

#include "scenario_reader.h"
#include "sim_test_support.h"

namespace {

constexpr char kTrackedId[] = "{637D3E4B-20DA-4318-B6FC-A100FD003A83}";

Scenario Example(const char* name) {
    const std::string path = std::string(SENSORSIM_EXAMPLES_DIR) + "/" + name;
    ScenarioReadResult result = ReadScenario(path);
    EXPECT_TRUE(result.scenario.has_value()) << path << ": " << result.error;
    return result.scenario.value_or(Scenario{});
}

TEST(ExampleScenariosTest, GpsFix_IsTheTrackedReceiverWithAFixAndAnAddress) {
    const Scenario scenario = Example("gps_fix.ini");
    ASSERT_EQ(scenario.sensors.size(), 1u);
    const SensorDefinition& gps = scenario.sensors[0];
    EXPECT_TRUE(IsEqualGUID(gps.id, TestGuid(kTrackedId)));
    EXPECT_FALSE(gps.name.empty());
    EXPECT_TRUE(IsEqualGUID(gps.type, SENSOR_TYPE_LOCATION_GPS));
    EXPECT_EQ(gps.state, 0);
    EXPECT_EQ(gps.Value(SensorValue::Latitude), 35.681236);
    EXPECT_EQ(gps.Value(SensorValue::Longitude), 139.767125);
    EXPECT_EQ(gps.Value(SensorValue::SatellitesUsed), 7.0);
    EXPECT_EQ(gps.Value(SensorValue::SatellitesInView), 11.0);
    EXPECT_TRUE(gps.Value(SensorValue::Altitude).has_value());
    EXPECT_TRUE(gps.Value(SensorValue::ErrorRadius).has_value());
    EXPECT_EQ(scenario.LocationProvider(LOCATION_DESIRED_ACCURACY_DEFAULT), &gps);
    EXPECT_TRUE(scenario.HasCivicAddress());
}

TEST(ExampleScenariosTest, GpsAcquiring_IsInitialisingWithoutPosition) {
    const Scenario scenario = Example("gps_acquiring.ini");
    ASSERT_EQ(scenario.sensors.size(), 1u);
    EXPECT_EQ(scenario.sensors[0].state, 3);
    EXPECT_FALSE(scenario.sensors[0].HasPosition());
    EXPECT_TRUE(scenario.latLongSupported);
    EXPECT_EQ(scenario.LocationProvider(LOCATION_DESIRED_ACCURACY_DEFAULT), nullptr);
}

TEST(ExampleScenariosTest, TwoSensors_ServeDifferentAccuracies) {
    const Scenario scenario = Example("two_sensors.ini");
    ASSERT_EQ(scenario.sensors.size(), 2u);
    EXPECT_EQ(scenario.LocationProvider(LOCATION_DESIRED_ACCURACY_DEFAULT), &scenario.sensors[1]);
    EXPECT_EQ(scenario.LocationProvider(LOCATION_DESIRED_ACCURACY_HIGH), &scenario.sensors[0]);
}

TEST(ExampleScenariosTest, NoSensor_HasNoSensorAndNoLatLongReport) {
    const Scenario scenario = Example("no_sensor.ini");
    EXPECT_TRUE(scenario.sensors.empty());
    EXPECT_TRUE(scenario.sensorApi);
    EXPECT_FALSE(scenario.latLongSupported);
}

}  // namespace
