#include <gtest/gtest.h>

#include "fake_sensor_api.h"
#include "recording_listener.h"
#include "sensor_registry.h"

namespace {

const GUID kGpsId = {0x637d3e4b, 0x20da, 0x4318, {0xb6, 0xfc, 0xa1, 0x00, 0xfd, 0x00, 0x3a, 0x83}};
const GUID kOtherId = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

class SensorRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        gps.report.SetDouble(2, 35.5);
        gps.report.SetDouble(3, 139.25);
        gps.report.SetInt(15, 7);
        gps.report.SetInt(17, 11);
        gps.report.SetDouble(36, 40.5);
        gps.report.SetDouble(22, 6.0);
    }
    void TearDown() override { CoUninitialize(); }

    // Every reference handed out by the fakes has come back.
    void ExpectAllReleased() {
        EXPECT_EQ(gps.refs, 1);
        EXPECT_EQ(other.refs, 1);
        EXPECT_EQ(gps.report.refs, 1);
        EXPECT_EQ(manager.refs, 1);
        EXPECT_EQ(manager.collection.refs, 1);
        EXPECT_EQ(manager.sink, nullptr);
    }

    RecordingListener listener;
    FakeSensor gps{kGpsId, L"Fake GPS"};
    FakeSensor other{kOtherId, L"Other"};
    FakeSensorManager manager;
};

TEST_F(SensorRegistryTest, StartWatching_HooksAndPublishesEveryLocationSensor_StopGivesEverythingBack) {
    manager.collection.sensors = {&gps, &other};
    FakeManagerFactory factory(&manager);
    auto* registry = new CSensorManagerEvents(&listener);

    // The result is the last sensor's: its report has no values to read.
    EXPECT_EQ(registry->StartWatching(), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    ASSERT_EQ(listener.statuses.size(), 2u);
    EXPECT_TRUE(IsEqualGUID(listener.ids[0], kGpsId));
    const SensorStatus& status = listener.statuses[0];
    EXPECT_STREQ(status.name, "Fake GPS");
    EXPECT_EQ(status.state, SENSOR_STATE_READY);
    EXPECT_DOUBLE_EQ(status.latitude, 35.5);
    EXPECT_DOUBLE_EQ(status.longitude, 139.25);
    EXPECT_EQ(status.satellitesUsed, 7);
    EXPECT_EQ(status.satellitesInView, 11);
    EXPECT_EQ(status.extras.altitude, 40.5);
    EXPECT_EQ(status.extras.errorRadius, 6.0);
    EXPECT_EQ(listener.statuses[1].extras.altitude, std::nullopt);
    // The registry holds one reference to each sensor it hooked.
    EXPECT_EQ(gps.refs, 2);
    EXPECT_EQ(other.refs, 2);
    EXPECT_NE(gps.sink, nullptr);
    EXPECT_EQ(manager.sink, registry);

    EXPECT_EQ(registry->StopWatching(), S_OK);
    EXPECT_EQ(gps.sink, nullptr);
    EXPECT_EQ(other.sink, nullptr);
    EXPECT_EQ(gps.refs, 1);
    EXPECT_EQ(other.refs, 1);
    delete registry;
    ExpectAllReleased();
}

TEST_F(SensorRegistryTest, StartWatching_FailsWithoutSensorApiOrLocationSensors) {
    auto* registry = new CSensorManagerEvents(&listener);
    EXPECT_EQ(registry->StartWatching(), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(registry->StopWatching(), S_OK);
    delete registry;

    FakeManagerFactory factory(&manager);
    registry = new CSensorManagerEvents(&listener);
    EXPECT_EQ(registry->StartWatching(), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    EXPECT_TRUE(listener.statuses.empty());
    registry->StopWatching();
    delete registry;
    ExpectAllReleased();
}

TEST_F(SensorRegistryTest, OnLeave_DropsKnownSensorAndRefusesUnknownOne) {
    FakeManagerFactory factory(&manager);
    auto* registry = new CSensorManagerEvents(&listener);
    registry->StartWatching();
    ASSERT_EQ(registry->OnSensorEnter(&gps, SENSOR_STATE_READY), S_OK);
    ISensorEvents* sink = gps.sink;
    ASSERT_NE(sink, nullptr);

    EXPECT_EQ(sink->OnLeave(kOtherId), static_cast<HRESULT>(0x80070490));
    EXPECT_EQ(gps.refs, 2);
    EXPECT_TRUE(listener.left.empty());
    EXPECT_EQ(sink->OnLeave(kGpsId), S_OK);
    EXPECT_EQ(gps.refs, 1);
    ASSERT_EQ(listener.left.size(), 1u);
    EXPECT_TRUE(IsEqualGUID(listener.left[0], kGpsId));
    // A sensor that left keeps its sink; the platform releases it later.
    EXPECT_EQ(gps.sink, sink);

    registry->StopWatching();
    delete registry;
    gps.SetEventSink(nullptr);
    ExpectAllReleased();
}

TEST_F(SensorRegistryTest, OnSensorEnter_IgnoresOtherCategoriesAndPublishesLocationSensorsInAnyState) {
    FakeManagerFactory factory(&manager);
    auto* registry = new CSensorManagerEvents(&listener);
    registry->StartWatching();

    other.category = kGpsId;  // any category but location
    EXPECT_EQ(registry->OnSensorEnter(&other, SENSOR_STATE_READY), S_OK);
    EXPECT_EQ(other.sink, nullptr);
    EXPECT_EQ(registry->OnSensorEnter(nullptr, SENSOR_STATE_READY), E_POINTER);

    // A receiver coming back still initialising is shown at once.
    gps.state = SENSOR_STATE_INITIALIZING;
    registry->OnSensorEnter(&gps, SENSOR_STATE_INITIALIZING);
    EXPECT_NE(gps.sink, nullptr);
    ASSERT_EQ(listener.statuses.size(), 1u);
    EXPECT_EQ(listener.statuses[0].state, SENSOR_STATE_INITIALIZING);

    registry->StopWatching();
    delete registry;
    ExpectAllReleased();
}

TEST_F(SensorRegistryTest, TrackSensor_SameIdTwice_HoldsOneReference) {
    FakeManagerFactory factory(&manager);
    auto* registry = new CSensorManagerEvents(&listener);
    EXPECT_EQ(registry->TrackSensor(&gps), S_OK);
    EXPECT_EQ(registry->TrackSensor(&gps), S_OK);
    EXPECT_EQ(gps.refs, 2);
    EXPECT_EQ(registry->TrackSensor(nullptr), E_POINTER);
    registry->StopWatching();
    delete registry;
    ExpectAllReleased();
}

// A sensor whose id cannot be read is not tracked, so it must not keep the
// sink either.
TEST_F(SensorRegistryTest, TrackSensor_IdUnreadable_UnhooksTheSensorAgain) {
    FakeManagerFactory factory(&manager);
    auto* registry = new CSensorManagerEvents(&listener);
    registry->StartWatching();
    gps.failId = true;
    EXPECT_EQ(registry->OnSensorEnter(&gps, SENSOR_STATE_READY), E_FAIL);
    EXPECT_EQ(gps.sink, nullptr);
    EXPECT_EQ(gps.refs, 1);
    EXPECT_TRUE(listener.statuses.empty());
    registry->StopWatching();
    delete registry;
    ExpectAllReleased();
}

TEST_F(SensorRegistryTest, FailedReads_StillPublishZerosAndReturnTheFailure) {
    FakeManagerFactory factory(&manager);
    auto* registry = new CSensorManagerEvents(&listener);
    registry->TrackSensor(&gps);
    ISensorEvents* sink = gps.sink;

    gps.failData = true;
    gps.failName = true;
    gps.failState = true;
    EXPECT_EQ(sink->OnStateChanged(&gps, SENSOR_STATE_READY), E_FAIL);
    ASSERT_EQ(listener.statuses.size(), 1u);
    EXPECT_STREQ(listener.statuses[0].name, "");
    EXPECT_EQ(listener.statuses[0].state, 5);
    EXPECT_EQ(listener.statuses[0].latitude, 0.0);

    gps.failData = false;
    gps.report.failValues = true;
    EXPECT_EQ(sink->OnDataUpdated(&gps, &gps.report), E_FAIL);
    ASSERT_EQ(listener.statuses.size(), 2u);
    EXPECT_EQ(listener.statuses[1].satellitesInView, 0);

    // A latitude of another variant type counts as not reported.
    gps.report.failValues = false;
    gps.report.SetFloat(2, 35.5f);
    EXPECT_EQ(sink->OnDataUpdated(&gps, &gps.report), S_OK);
    EXPECT_EQ(listener.statuses[2].latitude, 0.0);
    EXPECT_DOUBLE_EQ(listener.statuses[2].longitude, 139.25);

    EXPECT_EQ(sink->OnDataUpdated(&gps, nullptr), E_UNEXPECTED);
    EXPECT_EQ(sink->OnEvent(&gps, kGpsId, nullptr), E_NOTIMPL);
    registry->StopWatching();
    delete registry;
    ExpectAllReleased();
}

TEST_F(SensorRegistryTest, RefreshSensor_WithoutReport_PublishesNothing) {
    auto* registry = new CSensorManagerEvents(&listener);
    registry->TrackSensor(&gps);
    gps.nullReport = true;
    EXPECT_EQ(registry->OnSensorEnter(&gps, SENSOR_STATE_READY), E_INVALIDARG);
    EXPECT_TRUE(listener.statuses.empty());
    registry->StopWatching();
    delete registry;
    ExpectAllReleased();
}

TEST_F(SensorRegistryTest, StopWatching_SensorWhoseIdCannotBeRead_IsStillReleasedOnce) {
    auto* registry = new CSensorManagerEvents(&listener);
    registry->TrackSensor(&gps);
    gps.failId = true;
    EXPECT_EQ(registry->StopWatching(), S_OK);
    EXPECT_EQ(gps.sink, nullptr);
    // Its reference goes at once, not with the registry.
    EXPECT_EQ(gps.refs, 1);
    delete registry;
    EXPECT_EQ(gps.refs, 1);
    EXPECT_EQ(gps.releases, 1);
}

TEST_F(SensorRegistryTest, QueryInterface_AcceptsOnlyItsInterfaces) {
    auto* registry = new CSensorManagerEvents(&listener);
    void* object = nullptr;
    EXPECT_EQ(registry->QueryInterface(IID_ISensorManagerEvents, &object), S_OK);
    EXPECT_EQ(object, registry);
    EXPECT_EQ(registry->Release(), 1u);
    EXPECT_EQ(registry->QueryInterface(IID_ISensorEvents, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);

    registry->TrackSensor(&gps);
    EXPECT_EQ(gps.sink->QueryInterface(IID_ISensorEvents, &object), S_OK);
    EXPECT_EQ(object, gps.sink);
    gps.sink->Release();
    EXPECT_EQ(gps.sink->QueryInterface(IID_ISensorManager, &object), E_NOINTERFACE);
    registry->StopWatching();
    delete registry;
}

}  // namespace
