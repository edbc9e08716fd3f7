#include <gtest/gtest.h>

#include "lodestar_session.h"

namespace {

using namespace std::chrono_literals;

const std::string kAddLine = "tray add 128 icon=app tip=Detecting Senser...";
const std::string kDefaultSettings =
    "[icon]\r\nenable_icon=\r\nenable_icon_idx=0\r\ndisable_icon=\r\ndisable_icon_idx=0\r\n"
    "[hardware]\r\nsensor_id={637d3e4b-20da-4318-b6fc-a100fd003a83}\r\n";

TEST(LodestarStartup, ExitCommand_RemovesTrayEntryAndWritesDefaults) {
    LodestarSession session;
    auto lodestar = session.Start();
    ASSERT_EQ(lodestar->ReadLine(), kAddLine);

    lodestar->WriteLine("command 32772");
    EXPECT_EQ(lodestar->ReadLine(), "tray delete 128");
    EXPECT_EQ(lodestar->WaitForExit(), 0);
    EXPECT_EQ(ReadFile(session.SettingsFile()), kDefaultSettings);
}

TEST(LodestarStartup, SecondCopy_EndsAtOnceAndSilently) {
    LodestarSession session;
    auto first = session.Start();
    ASSERT_EQ(first->ReadLine(), kAddLine);

    auto second = session.Start();
    EXPECT_EQ(second->WaitForExit(), 0);
    EXPECT_EQ(second->ReadLine(100ms), std::nullopt);

    // The first is unaffected.
    first->WriteLine("command 32772");
    EXPECT_EQ(first->ReadLine(), "tray delete 128");
    EXPECT_EQ(first->WaitForExit(), 0);
}

TEST(LodestarStartup, KilledCopy_FreesTheNameForTheNext) {
    LodestarSession session;
    auto first = session.Start();
    ASSERT_EQ(first->ReadLine(), kAddLine);
    first->Kill();

    auto next = session.Start();
    EXPECT_EQ(next->ReadLine(), kAddLine);
    next->WriteLine("command 32772");
    EXPECT_EQ(next->WaitForExit(), 0);
}

TEST(LodestarStartup, EnterAndSpace_AreSwallowed_EscapeEndsAndRemovesTheEntry) {
    LodestarSession session;
    auto lodestar = session.Start();
    ASSERT_EQ(lodestar->ReadLine(), kAddLine);

    lodestar->WriteLine("key return");
    lodestar->WriteLine("key space");
    EXPECT_EQ(lodestar->WaitForExit(300ms), std::nullopt);

    lodestar->WriteLine("key escape");
    EXPECT_EQ(lodestar->ReadLine(), "tray delete 128");
    EXPECT_EQ(lodestar->WaitForExit(), 0);
    EXPECT_EQ(ReadFile(session.SettingsFile()), kDefaultSettings);
}

TEST(LodestarStartup, EndOfInput_ChangesNothing) {
    LodestarSession session;
    auto lodestar = session.Start();
    ASSERT_EQ(lodestar->ReadLine(), kAddLine);
    lodestar->CloseInput();
    EXPECT_EQ(lodestar->WaitForExit(300ms), std::nullopt);
}

}  // namespace
