#include <sensors.h>

#include <gtest/gtest.h>

#include "sim_class_factory.h"
#include "sim_test_support.h"

namespace {

const std::string kTwoReceivers = std::string("[sensor1]\nid=") + kFirstId +
                                  "\nname=First\nlatitude=35.5\nlongitude=139.75\naltitude=40.25\n"
                                  "error_radius=8\nsatellites_used=7\nsatellites_in_view=11\n"
                                  "[sensor2]\nid=" +
                                  kSecondId + "\ntype=lookup\nstate=3\n";

class SensorObjectsTest : public SimTest {
protected:
    ISensorManager* Manager(const std::string& text) {
        m_scenario.Write(text);
        ISensorManager* manager = nullptr;
        EXPECT_EQ(CreateSimSensorManager(m_scenario.Path(), IID_ISensorManager, reinterpret_cast<void**>(&manager)),
                  S_OK);
        return manager;
    }

    // The single location sensor of the scenario, fetched by id.
    ISensor* OnlySensor(ISensorManager* manager) {
        ISensor* sensor = nullptr;
        EXPECT_EQ(manager->GetSensorByID(TestGuid(kFirstId), &sensor), S_OK);
        return sensor;
    }
};

TEST_F(SensorObjectsTest, CategoryQuery_ListsPresentSensorsInOrder_WithExactReferences) {
    ISensorManager* manager = Manager(kTwoReceivers);
    ISensorCollection* collection = nullptr;
    ASSERT_EQ(manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection), S_OK);
    ULONG count = 0;
    ASSERT_EQ(collection->GetCount(&count), S_OK);
    ASSERT_EQ(count, 2u);

    ISensor* first = nullptr;
    ISensor* second = nullptr;
    ASSERT_EQ(collection->GetAt(0, &first), S_OK);
    ASSERT_EQ(collection->GetAt(1, &second), S_OK);
    SENSOR_ID id{};
    ASSERT_EQ(first->GetID(&id), S_OK);
    EXPECT_EQ(ShortId(id), "11111111");
    ASSERT_EQ(second->GetID(&id), S_OK);
    EXPECT_EQ(ShortId(id), "22222222");

    ISensor* outOfRange = reinterpret_cast<ISensor*>(1);
    EXPECT_TRUE(FAILED(collection->GetAt(2, &outOfRange)));
    EXPECT_EQ(outOfRange, nullptr);

    // The caller's reference, the collection's and the manager's.
    EXPECT_EQ(first->AddRef(), 4u);
    EXPECT_EQ(first->Release(), 3u);
    EXPECT_EQ(collection->Release(), 0u);
    EXPECT_EQ(first->Release(), 1u);
    EXPECT_EQ(manager->Release(), 0u);
    // The caller's last reference outlives the manager.
    EXPECT_EQ(FriendlyName(second), L"");
    EXPECT_EQ(second->Release(), 0u);
}

TEST_F(SensorObjectsTest, AbsentAndOtherCategorySensors_AreNotListed) {
    ISensorManager* manager =
        Manager(std::string("[sensor1]\nid=") + kFirstId + "\npresent=no\n[sensor2]\nid=" + kSecondId +
                "\ncategory={AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}\n");
    ISensorCollection* collection = reinterpret_cast<ISensorCollection*>(1);
    EXPECT_EQ(manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection),
              HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    EXPECT_EQ(collection, nullptr);

    ISensor* sensor = reinterpret_cast<ISensor*>(1);
    EXPECT_EQ(manager->GetSensorByID(TestGuid(kFirstId), &sensor), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    EXPECT_EQ(sensor, nullptr);
    ASSERT_EQ(manager->GetSensorByID(TestGuid(kSecondId), &sensor), S_OK);
    sensor->Release();

    ASSERT_EQ(manager->GetSensorsByCategory(TestGuid("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}"), &collection),
              S_OK);
    collection->Release();
    manager->Release();
}

TEST_F(SensorObjectsTest, TypeQuery_FindsSensorsOfThatType) {
    ISensorManager* manager = Manager(kTwoReceivers);
    ISensorCollection* collection = nullptr;
    ASSERT_EQ(manager->GetSensorsByType(SENSOR_TYPE_LOCATION_LOOKUP, &collection), S_OK);
    ULONG count = 0;
    collection->GetCount(&count);
    EXPECT_EQ(count, 1u);
    collection->Release();
    EXPECT_EQ(manager->GetSensorsByType(SENSOR_TYPE_LOCATION_BROADCAST, &collection),
              HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    manager->Release();
}

TEST_F(SensorObjectsTest, SensorProperties_ComeFromTheScenario) {
    ISensorManager* manager = Manager(kTwoReceivers);
    ISensor* sensor = OnlySensor(manager);
    GUID guid{};
    ASSERT_EQ(sensor->GetType(&guid), S_OK);
    EXPECT_TRUE(IsEqualGUID(guid, SENSOR_TYPE_LOCATION_GPS));
    ASSERT_EQ(sensor->GetCategory(&guid), S_OK);
    EXPECT_TRUE(IsEqualGUID(guid, SENSOR_CATEGORY_LOCATION));
    SensorState state = SENSOR_STATE_ERROR;
    ASSERT_EQ(sensor->GetState(&state), S_OK);
    EXPECT_EQ(state, SENSOR_STATE_READY);

    BSTR name = nullptr;
    ASSERT_EQ(sensor->GetFriendlyName(&name), S_OK);
    EXPECT_EQ(std::wstring(name), L"First");
    EXPECT_EQ(SysStringLen(name), 5u);
    SysFreeString(name);

    ISensorDataReport* report = nullptr;
    ASSERT_EQ(sensor->GetData(&report), S_OK);
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_LATITUDE_DEGREES), "R8 35.5");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_LONGITUDE_DEGREES), "R8 139.75");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS), "R8 40.25");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_ERROR_RADIUS_METERS), "R8 8");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_SATELLITES_USED_COUNT), "I4 7");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_SATELLITES_IN_VIEW), "I4 11");
    EXPECT_EQ(report->Release(), 0u);
    sensor->Release();
    manager->Release();
}

TEST_F(SensorObjectsTest, ValuesNotGiven_AreMissingFromAnExistingReport) {
    ISensorManager* manager =
        Manager(std::string("[sensor1]\nid=") + kFirstId + "\nstate=3\nsatellites_in_view=4\n");
    ISensor* sensor = OnlySensor(manager);
    ISensorDataReport* report = nullptr;
    ASSERT_EQ(sensor->GetData(&report), S_OK);
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_LATITUDE_DEGREES), "missing");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_SATELLITES_USED_COUNT), "missing");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_SATELLITES_IN_VIEW), "I4 4");
    report->Release();
    sensor->Release();
    manager->Release();
}

TEST_F(SensorObjectsTest, WrongTypeEntries_ComeBackAsR4OrUI4) {
    ISensorManager* manager = Manager(std::string("[sensor1]\nid=") + kFirstId +
                                      "\nlatitude=1.5\nlongitude=2.5\naltitude=3.5\nerror_radius=4.5\n"
                                      "satellites_used=5\nsatellites_in_view=6\nwrong_type=latitude,longitude,"
                                      "altitude,error_radius,satellites_used,satellites_in_view\n");
    ISensor* sensor = OnlySensor(manager);
    ISensorDataReport* report = nullptr;
    ASSERT_EQ(sensor->GetData(&report), S_OK);
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_LATITUDE_DEGREES), "R4 1.5");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_LONGITUDE_DEGREES), "R4 2.5");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS), "R4 3.5");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_ERROR_RADIUS_METERS), "R4 4.5");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_SATELLITES_USED_COUNT), "UI4 5");
    EXPECT_EQ(ReportValue(report, SENSOR_DATA_TYPE_SATELLITES_IN_VIEW), "UI4 6");
    report->Release();
    sensor->Release();
    manager->Release();
}

TEST_F(SensorObjectsTest, FailingOperations_FailAndLeaveResultsAlone) {
    ISensorManager* manager = Manager(std::string("[sensor1]\nid=") + kFirstId +
                                      "\nname=Hidden\nlatitude=1\nfail=id,name,type,category,state,data\n");
    ISensor* sensor = OnlySensor(manager);

    GUID guid = TestGuid(kThirdId);
    EXPECT_EQ(sensor->GetID(&guid), E_FAIL);
    EXPECT_EQ(sensor->GetType(&guid), E_FAIL);
    EXPECT_EQ(sensor->GetCategory(&guid), E_FAIL);
    EXPECT_TRUE(IsEqualGUID(guid, TestGuid(kThirdId)));
    SensorState state = SENSOR_STATE_ERROR;
    EXPECT_EQ(sensor->GetState(&state), E_FAIL);
    EXPECT_EQ(state, SENSOR_STATE_ERROR);
    EXPECT_EQ(FriendlyName(sensor), L"<failed>");
    ISensorDataReport* report = reinterpret_cast<ISensorDataReport*>(1);
    EXPECT_EQ(sensor->GetData(&report), E_FAIL);
    EXPECT_EQ(report, nullptr);
    sensor->Release();
    manager->Release();
}

TEST_F(SensorObjectsTest, FailingFetch_FailsOnlyThatIndex) {
    ISensorManager* manager = Manager(kTwoReceivers + "fail=fetch\n");
    ISensorCollection* collection = nullptr;
    ASSERT_EQ(manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection), S_OK);
    ISensor* sensor = reinterpret_cast<ISensor*>(1);
    EXPECT_EQ(collection->GetAt(1, &sensor), E_FAIL);
    EXPECT_EQ(sensor, nullptr);
    ASSERT_EQ(collection->GetAt(0, &sensor), S_OK);
    sensor->Release();
    // The manager still finds it by id.
    ASSERT_EQ(manager->GetSensorByID(TestGuid(kSecondId), &sensor), S_OK);
    sensor->Release();
    collection->Release();
    manager->Release();
}

TEST_F(SensorObjectsTest, SensorEventSink_IsHeldWhileSetAndReleasedWithTheSensor) {
    std::vector<std::string> log;
    RecordingSensorSink first(&log);
    RecordingSensorSink second(&log);
    ISensorManager* manager = Manager(kTwoReceivers);
    ISensor* sensor = OnlySensor(manager);

    ASSERT_EQ(sensor->SetEventSink(&first), S_OK);
    EXPECT_EQ(first.m_references, 2u);
    ASSERT_EQ(sensor->SetEventSink(&second), S_OK);
    EXPECT_EQ(first.m_references, 1u);
    EXPECT_EQ(second.m_references, 2u);
    ASSERT_EQ(sensor->SetEventSink(nullptr), S_OK);
    EXPECT_EQ(second.m_references, 1u);

    sensor->SetEventSink(&first);
    sensor->Release();
    EXPECT_EQ(first.m_references, 2u) << "the manager still holds the sensor";
    manager->Release();
    EXPECT_EQ(first.m_references, 1u);
}

TEST_F(SensorObjectsTest, ManagerEventSink_IsHeldWhileSet) {
    std::vector<std::string> log;
    RecordingManagerSink sink(&log);
    ISensorManager* manager = Manager(kTwoReceivers);
    ASSERT_EQ(manager->SetEventSink(&sink), S_OK);
    EXPECT_EQ(sink.m_references, 2u);
    ASSERT_EQ(manager->SetEventSink(nullptr), S_OK);
    EXPECT_EQ(sink.m_references, 1u);
    manager->SetEventSink(&sink);
    manager->Release();
    EXPECT_EQ(sink.m_references, 1u);
    EXPECT_TRUE(log.empty());
}

TEST_F(SensorObjectsTest, QueryInterface_AnswersOnlyTheObjectsInterfaces) {
    ISensorManager* manager = Manager(kTwoReceivers);
    ISensor* sensor = OnlySensor(manager);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(sensor->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(sensor));
    unknown->Release();
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(sensor->QueryInterface(IID_ISensorManager, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    ASSERT_EQ(manager->QueryInterface(IID_ISensorManager, &other), S_OK);
    static_cast<ISensorManager*>(other)->Release();
    EXPECT_EQ(sensor->Release(), 1u);
    EXPECT_EQ(manager->Release(), 0u);
}

}  // namespace
