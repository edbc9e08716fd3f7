#include <sensors.h>

#include <gtest/gtest.h>

#include "sim_class_factory.h"
#include "sim_sensor_manager.h"
#include "sim_test_support.h"

namespace {

std::string Sensor(int number, const char* id, const std::string& keys) {
    return "[sensor" + std::to_string(number) + "]\nid=" + id + "\n" + keys;
}

// A manager on a scenario, with recording sinks on the manager and on each
// sensor present at the start.
class LiveReloadTest : public SimTest {
protected:
    void Start(const std::string& text) {
        m_scenario.Write(text);
        ASSERT_EQ(
            CreateSimSensorManager(m_scenario.Path(), IID_ISensorManager, reinterpret_cast<void**>(&m_manager)),
            S_OK);
        m_manager->SetEventSink(&m_managerSink);
        for (const char* id : {kFirstId, kSecondId, kThirdId}) Hook(id);
    }

    void Hook(const char* id) {
        ISensor* sensor = nullptr;
        if (FAILED(m_manager->GetSensorByID(TestGuid(id), &sensor))) return;
        sensor->SetEventSink(&m_sensorSink);
        m_held.push_back(sensor);
    }

    void Edit(const std::string& text) {
        m_scenario.Write(text);
        static_cast<CSimSensorManager*>(m_manager)->CheckScenario();
    }

    void TearDown() override {
        for (ISensor* sensor : m_held) {
            sensor->SetEventSink(nullptr);
            sensor->Release();
        }
        if (m_manager != nullptr) {
            m_manager->SetEventSink(nullptr);
            EXPECT_EQ(m_manager->Release(), 0u);
        }
        EXPECT_EQ(m_managerSink.m_references, 1u);
        EXPECT_EQ(m_sensorSink.m_references, 1u);
        SimTest::TearDown();
    }

    std::vector<std::string> m_log;
    RecordingManagerSink m_managerSink{&m_log};
    RecordingSensorSink m_sensorSink{&m_log};
    ISensorManager* m_manager = nullptr;
    std::vector<ISensor*> m_held;
};

TEST_F(LiveReloadTest, UnchangedFile_AnnouncesNothing) {
    Start(Sensor(1, kFirstId, "state=3\n"));
    static_cast<CSimSensorManager*>(m_manager)->CheckScenario();
    EXPECT_TRUE(m_log.empty());
}

TEST_F(LiveReloadTest, StateAndData_AreAnnouncedToTheSensorsSink_StateFirst) {
    Start(Sensor(1, kFirstId, "state=3\nsatellites_in_view=4\n"));
    Edit(Sensor(1, kFirstId, "state=0\nlatitude=35.5\nlongitude=139.5\n"));
    EXPECT_EQ(m_log, (std::vector<std::string>{"state 11111111 0", "data 11111111 R8 35.5"}));

    m_log.clear();
    Edit(Sensor(1, kFirstId, "state=0\nlatitude=35.75\nlongitude=139.5\n"));
    EXPECT_EQ(m_log, (std::vector<std::string>{"data 11111111 R8 35.75"}));

    m_log.clear();
    Edit(Sensor(1, kFirstId, "state=0\nlatitude=35.75\nlongitude=139.5\nwrong_type=latitude\n"));
    EXPECT_EQ(m_log, (std::vector<std::string>{"data 11111111 R4 35.75"}));

    m_log.clear();
    Edit(Sensor(1, kFirstId, "name=Renamed\nstate=0\nlatitude=35.75\nlongitude=139.5\nwrong_type=latitude\n"));
    EXPECT_TRUE(m_log.empty()) << "a new name alone is no event";
}

TEST_F(LiveReloadTest, RewriteKeepingSizeAndTime_IsSeen) {
    Start(Sensor(1, kFirstId, "state=3\n"));
    const auto stamp = std::filesystem::last_write_time(m_scenario.Path());
    m_scenario.Write(Sensor(1, kFirstId, "state=2\n"));
    std::filesystem::last_write_time(m_scenario.Path(), stamp);
    static_cast<CSimSensorManager*>(m_manager)->CheckScenario();
    EXPECT_EQ(m_log, (std::vector<std::string>{"state 11111111 2"}));
}

TEST_F(LiveReloadTest, SensorThatBecomesPresent_EntersThroughTheManagersSink) {
    Start(Sensor(1, kFirstId, "") + Sensor(2, kSecondId, "present=no\n"));
    Edit(Sensor(1, kFirstId, "") + Sensor(2, kSecondId, "state=3\n") + Sensor(3, kThirdId, "present=no\n"));
    EXPECT_EQ(m_log, (std::vector<std::string>{"enter 22222222 state 3"}));

    ISensor* found = nullptr;
    ASSERT_EQ(m_manager->GetSensorByID(TestGuid(kSecondId), &found), S_OK);
    EXPECT_EQ(found, m_managerSink.m_entered.at(0));
    found->Release();
}

TEST_F(LiveReloadTest, SensorThatGoes_LeavesThroughItsOwnSink_WhichItThenDrops) {
    Start(Sensor(1, kFirstId, "") + Sensor(2, kSecondId, ""));
    EXPECT_EQ(m_sensorSink.m_references, 3u);
    Edit(Sensor(1, kFirstId, "present=no\n"));
    EXPECT_EQ(m_log, (std::vector<std::string>{"leave 11111111", "leave 22222222"}));
    EXPECT_EQ(m_sensorSink.m_references, 1u);

    ISensorCollection* collection = reinterpret_cast<ISensorCollection*>(1);
    EXPECT_EQ(m_manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection),
              HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    EXPECT_EQ(collection, nullptr);
}

TEST_F(LiveReloadTest, SensorThatComesBack_IsTheSameObject) {
    Start(Sensor(1, kFirstId, "latitude=1\n"));
    Edit("");
    Edit(Sensor(1, kFirstId, "latitude=2\n"));
    EXPECT_EQ(m_log, (std::vector<std::string>{"leave 11111111", "enter 11111111 state 0"}));
    EXPECT_EQ(m_managerSink.m_entered.at(0), m_held.at(0));
}

TEST_F(LiveReloadTest, Events_FollowEnumerationOrder_ThenSensorsGoneFromTheFile) {
    Start(Sensor(1, kFirstId, "state=1\n") + Sensor(2, kSecondId, "state=1\n"));
    Edit(Sensor(1, kThirdId, "") + Sensor(2, kSecondId, "state=2\n"));
    EXPECT_EQ(m_log, (std::vector<std::string>{"enter 33333333 state 0", "state 22222222 2", "leave 11111111"}));
}

TEST_F(LiveReloadTest, SinkCallingBack_SeesTheNewScenarioThroughout) {
    Start(Sensor(1, kFirstId, "state=3\n"));
    Edit(Sensor(1, kFirstId, "state=0\n") + Sensor(2, kSecondId, ""));
    ASSERT_EQ(m_log.size(), 2u);
    ISensorCollection* collection = nullptr;
    ASSERT_EQ(m_manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection), S_OK);
    ULONG count = 0;
    collection->GetCount(&count);
    EXPECT_EQ(count, 2u);
    collection->Release();
}

TEST_F(LiveReloadTest, BrokenEdit_KeepsTheLastGoodScenario_AndSaysSoOnce) {
    Start(Sensor(1, kFirstId, "latitude=1\n"));
    testing::internal::CaptureStderr();
    Edit(Sensor(1, kFirstId, "latitude=one\n"));
    static_cast<CSimSensorManager*>(m_manager)->CheckScenario();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(errors, "sensorsim: " + m_scenario.Path() +
                          ": [sensor1] latitude = one: not a decimal number; keeping the previous scenario\n");

    Edit(Sensor(1, kFirstId, "latitude=2\n"));
    EXPECT_EQ(m_log, (std::vector<std::string>{"data 11111111 R8 2"}));
}

TEST_F(LiveReloadTest, DeletedFile_KeepsTheScenario_UntilItReturns) {
    Start(Sensor(1, kFirstId, ""));
    testing::internal::CaptureStderr();
    m_scenario.Remove();
    static_cast<CSimSensorManager*>(m_manager)->CheckScenario();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot read the file"), std::string::npos);
    EXPECT_TRUE(m_log.empty());
    Edit(Sensor(1, kFirstId, "state=2\n"));
    EXPECT_EQ(m_log, (std::vector<std::string>{"state 11111111 2"}));
}

TEST_F(LiveReloadTest, NoManagerSink_NoEnterAnnouncement) {
    Start(Sensor(1, kFirstId, "present=no\n"));
    m_manager->SetEventSink(nullptr);
    Edit(Sensor(1, kFirstId, ""));
    EXPECT_TRUE(m_log.empty());
}

TEST_F(LiveReloadTest, DataUpdatedReport_IsReleasedAfterTheCall) {
    Start(Sensor(1, kFirstId, "latitude=1\n"));
    Edit(Sensor(1, kFirstId, "latitude=2\n"));
    ASSERT_EQ(m_log.size(), 1u);
    // Only the held sensor and the manager's objects remain.
    EXPECT_EQ(LiveModuleObjects(), 2);
}

// What lets a program's tests see that it took every sink back.
TEST_F(SimTest, ManagerReleasedWithASensorsSinkStillSet_SaysSo) {
    m_scenario.Write(Sensor(1, kFirstId, ""));
    std::vector<std::string> log;
    RecordingSensorSink sink{&log};
    ISensorManager* manager = nullptr;
    ASSERT_EQ(CreateSimSensorManager(m_scenario.Path(), IID_ISensorManager, reinterpret_cast<void**>(&manager)), S_OK);
    ISensor* sensor = nullptr;
    ASSERT_EQ(manager->GetSensorByID(TestGuid(kFirstId), &sensor), S_OK);
    sensor->SetEventSink(&sink);
    sensor->Release();
    testing::internal::CaptureStderr();
    manager->Release();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "sensorsim: sensor manager released with an event sink still set\n");
    EXPECT_EQ(sink.m_references, 1u);
}

TEST_F(LiveReloadTest, ThreadMessageLoop_DrivesTheCheck) {
    Start(Sensor(1, kFirstId, "state=3\n"));
    m_scenario.Write(Sensor(1, kFirstId, "state=0\n"));
    // The manager's timer is the only one on this thread: each message is its
    // WM_TIMER, about 100 ms apart.
    MSG msg{};
    for (int i = 0; i < 20 && m_log.empty() && GetMessageA(&msg, nullptr, 0, 0) > 0; ++i) {
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(m_log, (std::vector<std::string>{"state 11111111 0"}));
}

}  // namespace
