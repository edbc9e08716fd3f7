// The save at exit is all or nothing: killed at any moment, lodestar leaves
// the old settings file or the new one, and the next start clears what a
// cut-short save left beside it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include "lodestar_session.h"

namespace {

using namespace std::chrono_literals;

const std::string kAddLine = "tray add 128 icon=app tip=Detecting Senser...";
const std::string kScenario = "[sensor1]\nid = {637D3E4B-20DA-4318-B6FC-A100FD003A83}\nname = Test GPS\nstate = 3\n";

// A user's file: comments and many catalog lines from earlier runs.
std::string LargeUserFile() {
    std::string text = "; my receivers, kept by hand\r\n[icon]\r\nenable_icon=\r\n[hardware]\r\n";
    for (int i = 2; i < 3000; ++i)
        text += "location_sensor_list" + std::to_string(i) + "={00000000-0000-0000-0000-" +
                std::to_string(100000000000 + i) + "}\t\t;an old receiver seen long ago\r\n";
    return text;
}

// Under the sanitizers every start and save is several times slower.
#ifdef __SANITIZE_ADDRESS__
constexpr int kKills = 60;
#else
constexpr int kKills = 200;
#endif

std::set<std::string> FilesIn(const std::string& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(LodestarSave, KilledAtAnyMomentOfTheSave_LeavesTheOldFileOrTheNew) {
    LodestarSession session(kScenario);
    const std::string before = LargeUserFile();
    const std::set<std::string> ownFiles = {"lodestar", "lodestar.ini", "scenario.ini"};

    // One whole save gives the new file and how long a save takes.
    WriteFile(session.SettingsFile(), before);
    auto lodestar = session.Start();
    ASSERT_EQ(lodestar->ReadLine(), kAddLine);
    ASSERT_TRUE(lodestar->ReadLine());
    const auto saveStart = std::chrono::steady_clock::now();
    lodestar->WriteLine("command 32772");
    ASSERT_EQ(lodestar->WaitForExit(10s), 0);
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                                saveStart);
    const std::string after = ReadFile(session.SettingsFile());
    ASSERT_NE(after, before);
    ASSERT_NE(after.find("location_sensor_list1="), std::string::npos);

    std::mt19937 random(20261208);
    // Up to half as long again as a whole save, for a machine busier than it was.
    std::uniform_int_distribution<long> moment(0, saveTime.count() * 3 / 2);
    int killsBeforeTheEnd = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        WriteFile(session.SettingsFile(), before);
        lodestar = session.Start();
        ASSERT_EQ(lodestar->ReadLine(), kAddLine);
        // Whatever the last kill left beside the file is gone once lodestar runs.
        ASSERT_EQ(FilesIn(session.dir.Path()), ownFiles) << "kill " << kill;
        lodestar->ReadLine();
        lodestar->WriteLine("command 32772");
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        lodestar->Kill();

        const std::string left = ReadFile(session.SettingsFile());
        ASSERT_TRUE(left == before || left == after) << "kill " << kill << " left " << left.size() << " bytes";
        if (left == before) ++killsBeforeTheEnd;
    }
    // Kills did land before the save was through.
    EXPECT_GT(killsBeforeTheEnd, 0);
}

}  // namespace
