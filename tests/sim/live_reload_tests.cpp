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
        scenario_.Write(text);
        ASSERT_EQ(
            CreateSimSensorManager(scenario_.Path(), IID_ISensorManager, reinterpret_cast<void**>(&manager_)),
            S_OK);
        manager_->SetEventSink(&managerSink_);
        for (const char* id : {kFirstId, kSecondId, kThirdId}) Hook(id);
    }

    void Hook(const char* id) {
        ISensor* sensor = nullptr;
        if (FAILED(manager_->GetSensorByID(TestGuid(id), &sensor))) return;
        sensor->SetEventSink(&sensorSink_);
        held_.push_back(sensor);
    }

    void Edit(const std::string& text) {
        scenario_.Write(text);
        static_cast<CSimSensorManager*>(manager_)->CheckScenario();
    }

    void TearDown() override {
        for (ISensor* sensor : held_) {
            sensor->SetEventSink(nullptr);
            sensor->Release();
        }
        if (manager_ != nullptr) {
            manager_->SetEventSink(nullptr);
            EXPECT_EQ(manager_->Release(), 0u);
        }
        EXPECT_EQ(managerSink_.references_, 1u);
        EXPECT_EQ(sensorSink_.references_, 1u);
        SimTest::TearDown();
    }

    std::vector<std::string> log_;
    RecordingManagerSink managerSink_{&log_};
    RecordingSensorSink sensorSink_{&log_};
    ISensorManager* manager_ = nullptr;
    std::vector<ISensor*> held_;
};

TEST_F(LiveReloadTest, UnchangedFile_AnnouncesNothing) {
    Start(Sensor(1, kFirstId, "state=3\n"));
    static_cast<CSimSensorManager*>(manager_)->CheckScenario();
    EXPECT_TRUE(log_.empty());
}

TEST_F(LiveReloadTest, StateAndData_AreAnnouncedToTheSensorsSink_StateFirst) {
    Start(Sensor(1, kFirstId, "state=3\nsatellites_in_view=4\n"));
    Edit(Sensor(1, kFirstId, "state=0\nlatitude=35.5\nlongitude=139.5\n"));
    EXPECT_EQ(log_, (std::vector<std::string>{"state 11111111 0", "data 11111111 R8 35.5"}));

    log_.clear();
    Edit(Sensor(1, kFirstId, "state=0\nlatitude=35.75\nlongitude=139.5\n"));
    EXPECT_EQ(log_, (std::vector<std::string>{"data 11111111 R8 35.75"}));

    log_.clear();
    Edit(Sensor(1, kFirstId, "state=0\nlatitude=35.75\nlongitude=139.5\nwrong_type=latitude\n"));
    EXPECT_EQ(log_, (std::vector<std::string>{"data 11111111 R4 35.75"}));

    log_.clear();
    Edit(Sensor(1, kFirstId, "name=Renamed\nstate=0\nlatitude=35.75\nlongitude=139.5\nwrong_type=latitude\n"));
    EXPECT_TRUE(log_.empty()) << "a new name alone is no event";
}

TEST_F(LiveReloadTest, RewriteKeepingSizeAndTime_IsSeen) {
    Start(Sensor(1, kFirstId, "state=3\n"));
    const auto stamp = std::filesystem::last_write_time(scenario_.Path());
    scenario_.Write(Sensor(1, kFirstId, "state=2\n"));
    std::filesystem::last_write_time(scenario_.Path(), stamp);
    static_cast<CSimSensorManager*>(manager_)->CheckScenario();
    EXPECT_EQ(log_, (std::vector<std::string>{"state 11111111 2"}));
}

TEST_F(LiveReloadTest, SensorThatBecomesPresent_EntersThroughTheManagersSink) {
    Start(Sensor(1, kFirstId, "") + Sensor(2, kSecondId, "present=no\n"));
    Edit(Sensor(1, kFirstId, "") + Sensor(2, kSecondId, "state=3\n") + Sensor(3, kThirdId, "present=no\n"));
    EXPECT_EQ(log_, (std::vector<std::string>{"enter 22222222 state 3"}));

    ISensor* found = nullptr;
    ASSERT_EQ(manager_->GetSensorByID(TestGuid(kSecondId), &found), S_OK);
    EXPECT_EQ(found, managerSink_.entered_.at(0));
    found->Release();
}

TEST_F(LiveReloadTest, SensorThatGoes_LeavesThroughItsOwnSink_WhichItThenDrops) {
    Start(Sensor(1, kFirstId, "") + Sensor(2, kSecondId, ""));
    EXPECT_EQ(sensorSink_.references_, 3u);
    Edit(Sensor(1, kFirstId, "present=no\n"));
    EXPECT_EQ(log_, (std::vector<std::string>{"leave 11111111", "leave 22222222"}));
    EXPECT_EQ(sensorSink_.references_, 1u);

    ISensorCollection* collection = reinterpret_cast<ISensorCollection*>(1);
    EXPECT_EQ(manager_->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection),
              HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    EXPECT_EQ(collection, nullptr);
}

TEST_F(LiveReloadTest, SensorThatComesBack_IsTheSameObject) {
    Start(Sensor(1, kFirstId, "latitude=1\n"));
    Edit("");
    Edit(Sensor(1, kFirstId, "latitude=2\n"));
    EXPECT_EQ(log_, (std::vector<std::string>{"leave 11111111", "enter 11111111 state 0"}));
    EXPECT_EQ(managerSink_.entered_.at(0), held_.at(0));
}

TEST_F(LiveReloadTest, Events_FollowEnumerationOrder_ThenSensorsGoneFromTheFile) {
    Start(Sensor(1, kFirstId, "state=1\n") + Sensor(2, kSecondId, "state=1\n"));
    Edit(Sensor(1, kThirdId, "") + Sensor(2, kSecondId, "state=2\n"));
    EXPECT_EQ(log_, (std::vector<std::string>{"enter 33333333 state 0", "state 22222222 2", "leave 11111111"}));
}

TEST_F(LiveReloadTest, SinkCallingBack_SeesTheNewScenarioThroughout) {
    Start(Sensor(1, kFirstId, "state=3\n"));
    Edit(Sensor(1, kFirstId, "state=0\n") + Sensor(2, kSecondId, ""));
    ASSERT_EQ(log_.size(), 2u);
    ISensorCollection* collection = nullptr;
    ASSERT_EQ(manager_->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection), S_OK);
    ULONG count = 0;
    collection->GetCount(&count);
    EXPECT_EQ(count, 2u);
    collection->Release();
}

TEST_F(LiveReloadTest, BrokenEdit_KeepsTheLastGoodScenario_AndSaysSoOnce) {
    Start(Sensor(1, kFirstId, "latitude=1\n"));
    testing::internal::CaptureStderr();
    Edit(Sensor(1, kFirstId, "latitude=one\n"));
    static_cast<CSimSensorManager*>(manager_)->CheckScenario();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(errors, "sensorsim: " + scenario_.Path() +
                          ": [sensor1] latitude = one: not a decimal number; keeping the previous scenario\n");

    Edit(Sensor(1, kFirstId, "latitude=2\n"));
    EXPECT_EQ(log_, (std::vector<std::string>{"data 11111111 R8 2"}));
}

TEST_F(LiveReloadTest, DeletedFile_KeepsTheScenario_UntilItReturns) {
    Start(Sensor(1, kFirstId, ""));
    testing::internal::CaptureStderr();
    scenario_.Remove();
    static_cast<CSimSensorManager*>(manager_)->CheckScenario();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot read the file"), std::string::npos);
    EXPECT_TRUE(log_.empty());
    Edit(Sensor(1, kFirstId, "state=2\n"));
    EXPECT_EQ(log_, (std::vector<std::string>{"state 11111111 2"}));
}

TEST_F(LiveReloadTest, NoManagerSink_NoEnterAnnouncement) {
    Start(Sensor(1, kFirstId, "present=no\n"));
    manager_->SetEventSink(nullptr);
    Edit(Sensor(1, kFirstId, ""));
    EXPECT_TRUE(log_.empty());
}

TEST_F(LiveReloadTest, DataUpdatedReport_IsReleasedAfterTheCall) {
    Start(Sensor(1, kFirstId, "latitude=1\n"));
    Edit(Sensor(1, kFirstId, "latitude=2\n"));
    ASSERT_EQ(log_.size(), 1u);
    // Only the held sensor and the manager's objects remain.
    EXPECT_EQ(LiveModuleObjects(), 2);
}

TEST_F(LiveReloadTest, ThreadMessageLoop_DrivesTheCheck) {
    Start(Sensor(1, kFirstId, "state=3\n"));
    scenario_.Write(Sensor(1, kFirstId, "state=0\n"));
    // The manager's timer is the only one on this thread: each message is its
    // WM_TIMER, about 100 ms apart.
    MSG msg{};
    for (int i = 0; i < 20 && log_.empty() && GetMessageA(&msg, nullptr, 0, 0) > 0; ++i) {
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(log_, (std::vector<std::string>{"state 11111111 0"}));
}

}  // namespace
