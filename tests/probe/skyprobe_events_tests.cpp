// skyprobe --wait and --watch against the simulated receiver, whose
// scenario file the tests edit while skyprobe runs.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <csignal>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <thread>

#include "child_process.h"

namespace {

using nlohmann::json;
using namespace std::chrono_literals;

constexpr char kId[] = "{637D3E4B-20DA-4318-B6FC-A100FD003A83}";

std::string Receiver(const std::string& keys) {
    return std::string("[sensor1]\nid = ") + kId + "\nname = Test GPS\ntype = gps\n" + keys;
}
const std::string kAcquiring = Receiver("state = 3\n");
const std::string kFix = Receiver("state = 0\nlatitude = 35.5\nlongitude = 139.5\n");

class SkyprobeEvents : public ::testing::Test {
protected:
    SkyprobeEvents() { Edit(kAcquiring); }

    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& arguments) {
        m_started = std::chrono::steady_clock::now();
        // The simulator looks at its file every 20 ms: a wait that wakes on
        // the event ends within that of the edit.
        return std::make_unique<ChildProcess>(
            SKYPROBE_EXE, m_dir.Path(),
            std::map<std::string, std::string>{{"SENSORSIM_SCENARIO", Scenario()}, {"SENSORSIM_CHECK_MS", "20"}},
            arguments, m_dir.File("errors"));
    }

    // Written beside and renamed, so the simulator never reads half a file.
    void Edit(const std::string& text) {
        WriteFile(Scenario() + ".new", text);
        std::filesystem::rename(Scenario() + ".new", Scenario());
    }

    double SecondsSinceStart() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
    }
    std::string Scenario() const { return m_dir.File("scenario.ini"); }
    std::string Errors() const { return ReadFile(m_dir.File("errors")); }

    TempDir m_dir;
    std::chrono::steady_clock::time_point m_started;
};

TEST_F(SkyprobeEvents, Wait_EndsOnTheEventThatMakesTheSensorReady) {
    auto probe = Start({"--wait", "30"});
    std::this_thread::sleep_for(1300ms);
    const double editedAt = SecondsSinceStart();
    Edit(kFix);

    const auto first = probe->ReadLine(10s);
    ASSERT_TRUE(first);
    std::smatch match;
    ASSERT_TRUE(std::regex_match(*first, match, std::regex(R"(Waited (\d+\.\d{3}) s: a location sensor is ready)")))
        << *first;
    const double waited = std::stod(match[1]);
    EXPECT_GT(waited, editedAt - 0.5) << "ended before the edit";
    EXPECT_LT(waited, editedAt + 0.5) << "woke long after the event";
    EXPECT_TRUE(probe->WaitForLine("Sensor status: SENSOR_STATE_READY"));
    EXPECT_EQ(probe->WaitForExit(5s), 0);
    EXPECT_EQ(Errors(), "");
}

TEST_F(SkyprobeEvents, Wait_ThatRunsOut_ReportsTheSensorAsItStands_ExitCode1) {
    const ProgramRun run =
        RunProgram(SKYPROBE_EXE, {"--json", "--wait", "1"}, {{"SENSORSIM_SCENARIO", Scenario()}});
    EXPECT_EQ(run.exitCode, 1);
    const json report = json::parse(run.output);
    EXPECT_EQ(report["wait"]["ready"], false);
    EXPECT_GE(report["wait"]["seconds"].get<double>(), 1.0);
    EXPECT_LT(report["wait"]["seconds"].get<double>(), 3.0);
    EXPECT_EQ(report["exit_code"], 1);
    EXPECT_EQ(report["sensors"][0]["state"], "SENSOR_STATE_INITIALIZING");
}

TEST_F(SkyprobeEvents, WatchJson_EachEventOnceInOrder_ASensorThatLeavesAndComesBack_ThenTheCountEndsIt) {
    Edit(kFix);
    auto probe = Start({"--watch", "--json", "--count", "5"});
    const auto report = probe->ReadLine(10s);
    ASSERT_TRUE(report);
    EXPECT_EQ(json::parse(*report)["sensors"][0]["state"], "SENSOR_STATE_READY");

    struct Step {
        std::string scenario;
        json expected;  // fields the event must have
    };
    const Step steps[] = {
        {Receiver("state = 3\nlatitude = 35.5\nlongitude = 139.5\n"),
         {{"event", "state"}, {"state", "SENSOR_STATE_INITIALIZING"}, {"state_number", 3}}},
        {Receiver("state = 3\nlatitude = 36.5\nlongitude = 139.5\n"),
         {{"event", "data"},
          {"values", {{"SENSOR_DATA_TYPE_LATITUDE_DEGREES", 36.5}, {"SENSOR_DATA_TYPE_LONGITUDE_DEGREES", 139.5}}}}},
        {Receiver("state = 3\npresent = no\n"), {{"event", "leave"}}},
        {kFix, {{"event", "enter"}, {"state", "SENSOR_STATE_READY"}, {"state_number", 0}}},
        {Receiver("state = 0\nlatitude = 37.5\nlongitude = 139.5\n"),
         {{"event", "data"},
          {"values", {{"SENSOR_DATA_TYPE_LATITUDE_DEGREES", 37.5}, {"SENSOR_DATA_TYPE_LONGITUDE_DEGREES", 139.5}}}}},
    };
    const std::regex utc(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}\.\d{3}Z)");
    std::string lastTime;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.expected.dump());
        Edit(step.scenario);
        const auto line = probe->ReadLine(5s);
        ASSERT_TRUE(line);
        const json event = json::parse(*line);
        for (const auto& [key, value] : step.expected.items()) EXPECT_EQ(event[key], value) << *line;
        EXPECT_EQ(event["id"], kId);
        EXPECT_EQ(event["name"], "Test GPS");
        const std::string time = event["time"];
        EXPECT_TRUE(std::regex_match(time, utc)) << time;
        EXPECT_GE(time, lastTime);
        lastTime = time;
    }
    EXPECT_EQ(probe->WaitForExit(5s), 0);
    EXPECT_FALSE(probe->ReadLine(1s)) << "more than the counted events";
    EXPECT_EQ(Errors(), "");
}

// Natively SIGINT stands for Ctrl+C and SIGTERM for closing the console.
// Under the sanitizers a leak would be reported on standard error, and the
// simulator names a sink left set.
TEST_F(SkyprobeEvents, Watch_EndedBySignal_ExitCode0_EverySinkTakenBack) {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        Edit(kFix);
        auto probe = Start({"--watch"});
        ASSERT_TRUE(probe->WaitForLine("latitude,longitude : 35.500000, 139.500000", 10s));
        ASSERT_TRUE(probe->WaitForLine("latitude,longitude : 35.500000, 139.500000", 5s));
        Edit(Receiver("state = 3\nlatitude = 35.5\nlongitude = 139.5\n"));
        const auto line = probe->ReadLine(5s);
        ASSERT_TRUE(line);
        EXPECT_TRUE(std::regex_match(*line, std::regex(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}\.\d{3}Z )" +
                                                       std::string(R"(\{637D3E4B-20DA-4318-B6FC-A100FD003A83\})") +
                                                       " Test GPS: state SENSOR_STATE_INITIALIZING")))
            << *line;
        probe->Signal(signalNumber);
        EXPECT_EQ(probe->WaitForExit(10s), 0);
        EXPECT_EQ(Errors(), "");
    }
}

}  // namespace
