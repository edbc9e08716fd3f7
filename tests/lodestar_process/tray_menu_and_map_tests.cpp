#include <gtest/gtest.h>

#include <thread>

#include "lodestar_session.h"

namespace {

using namespace std::chrono_literals;

const std::string kMapLine = "open https://www.google.com/maps?q=35.681236,139.767125";

class LodestarGestures : public ::testing::Test {
protected:
    void Start(const std::string& scenario) {
        session = std::make_unique<LodestarSession>(scenario);
        lodestar = session->Start();
        ASSERT_EQ(lodestar->ReadLine(), "tray add 128 icon=app tip=Detecting Senser...");
    }
    void Send(const std::vector<std::string>& mouse) {
        for (const auto& message : mouse) lodestar->WriteLine("tray " + message);
    }

    std::unique_ptr<LodestarSession> session;
    std::unique_ptr<ChildProcess> lodestar;
};

TEST_F(LodestarGestures, LeftDoubleClick_OpensTheMapOnce) {
    Start(ReadFile(EXAMPLES_DIR "/gps_fix.ini"));
    Send({"lbuttondown", "lbuttonup", "lbuttondblclk", "lbuttonup"});
    std::vector<std::string> before;
    ASSERT_TRUE(lodestar->WaitForLine(kMapLine, 5s, &before));
    EXPECT_FALSE(lodestar->WaitForLine(kMapLine, 700ms));
}

TEST_F(LodestarGestures, RightClick_OpensMenuAfterDoubleClickTime_ExitEnds) {
    Start(ReadFile(EXAMPLES_DIR "/gps_fix.ini"));
    lodestar->ReadLine();  // the sensor's status
    const auto pressed = std::chrono::steady_clock::now();
    Send({"rbuttondown", "rbuttonup"});
    EXPECT_EQ(lodestar->ReadLine(), "menu E&xit=32772");
    const auto waited = std::chrono::steady_clock::now() - pressed;
    EXPECT_GE(waited, 450ms);
    EXPECT_LT(waited, 3s);

    lodestar->WriteLine("choose 32772");
    EXPECT_EQ(lodestar->ReadLine(), "tray delete 128");
    EXPECT_EQ(lodestar->WaitForExit(), 0);
    EXPECT_NE(ReadFile(session->SettingsFile()).find("location_sensor_list1="), std::string::npos);
}

TEST_F(LodestarGestures, DismissedMenuAndRightDoubleClick_LeaveItRunning) {
    Start({});
    Send({"rbuttondown", "rbuttonup"});
    EXPECT_EQ(lodestar->ReadLine(), "menu E&xit=32772");
    lodestar->WriteLine("choose none");
    Send({"rbuttondown", "rbuttonup", "rbuttondblclk", "rbuttonup"});
    EXPECT_EQ(lodestar->ReadLine(800ms), std::nullopt);
    // The state is back at idle: a new right click opens the menu again.
    Send({"rbuttondown", "rbuttonup"});
    EXPECT_EQ(lodestar->ReadLine(), "menu E&xit=32772");
    lodestar->WriteLine("choose 32772");
    EXPECT_EQ(lodestar->ReadLine(), "tray delete 128");
    EXPECT_EQ(lodestar->WaitForExit(), 0);
}

TEST_F(LodestarGestures, Map_UsesDefaultReportWhenHighIsMissing_AndNothingOnTheEquator) {
    const std::string sensor = "[sensor1]\nid = {637D3E4B-20DA-4318-B6FC-A100FD003A83}\nname = G\n"
                               "latitude = 35.681236\nlongitude = 139.767125\n";
    Start(sensor + "[location]\nhigh = none\n");
    Send({"lbuttondown", "lbuttonup", "lbuttondblclk", "lbuttonup"});
    EXPECT_TRUE(lodestar->WaitForLine(kMapLine));

    session->EditScenario("[sensor1]\nid = {637D3E4B-20DA-4318-B6FC-A100FD003A83}\nname = G\n"
                          "latitude = 0.0\nlongitude = 139.767125\n[location]\ndefault = sensor1\n");
    std::this_thread::sleep_for(400ms);
    Send({"lbuttondown", "lbuttonup", "lbuttondblclk", "lbuttonup"});
    EXPECT_FALSE(lodestar->WaitForLine(kMapLine, 800ms));
}

TEST_F(LodestarGestures, Map_SilentWhenReportUnsupportedOrLocationApiAbsent) {
    Start("[platform]\nlatlong_report = unsupported\n" + ReadFile(EXAMPLES_DIR "/gps_fix.ini"));
    Send({"lbuttondown", "lbuttonup", "lbuttondblclk", "lbuttonup"});
    EXPECT_FALSE(lodestar->WaitForLine(kMapLine, 800ms));
    session->EditScenario("[platform]\nlocation_api = absent\n" + ReadFile(EXAMPLES_DIR "/gps_fix.ini"));
    std::this_thread::sleep_for(400ms);
    Send({"lbuttondown", "lbuttonup", "lbuttondblclk", "lbuttonup"});
    EXPECT_FALSE(lodestar->WaitForLine(kMapLine, 800ms));
    lodestar->WriteLine("command 32772");
    EXPECT_EQ(lodestar->WaitForExit(), 0);
}

// Gestures on a running lodestar, one after another: "wait" lets the
// double-click time pass. The menu, when it opens, is dismissed.
TEST_F(LodestarGestures, Gestures_OpenTheMenuTheMapOrNothing) {
    const std::string kMenuLine = "menu E&xit=32772";
    const struct {
        const char* name;
        std::vector<std::string> steps;
        std::string opens;  // empty: nothing
    } cases[] = {
        {"right press held", {"rbuttondown", "wait", "rbuttonup"}, kMenuLine},
        {"left click", {"lbuttondown", "lbuttonup", "wait"}, ""},
        {"left press held", {"lbuttondown", "wait", "lbuttonup"}, ""},
        {"left press in a right click", {"rbuttondown", "lbuttondown", "lbuttonup", "wait"}, kMenuLine},
        {"mouse move", {"512", "wait"}, ""},
        {"left double-click", {"lbuttondown", "lbuttonup", "lbuttondblclk", "lbuttonup"}, kMapLine},
    };
    Start(ReadFile(EXAMPLES_DIR "/gps_fix.ini"));
    lodestar->ReadLine();  // the sensor's status
    for (const auto& gesture : cases) {
        for (const auto& step : gesture.steps) {
            if (step == "wait")
                std::this_thread::sleep_for(800ms);
            else
                Send({step});
        }
        if (gesture.opens.empty()) {
            EXPECT_EQ(lodestar->ReadLine(300ms), std::nullopt) << gesture.name;
            continue;
        }
        EXPECT_EQ(lodestar->ReadLine(), gesture.opens) << gesture.name;
        if (gesture.opens == kMenuLine) lodestar->WriteLine("choose none");
    }
    lodestar->WriteLine("command 32772");
    EXPECT_EQ(lodestar->WaitForExit(), 0);
}

}  // namespace
