// GetMessageA's sources: posted messages, the quit request, input commands
// and timers with real intervals.
#include "desktop_fixture.h"

#include <algorithm>
#include <chrono>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

using LoopTest = DesktopTest;

std::vector<UINT_PTR> firedThreadTimers;
void CALLBACK RecordThreadTimer(HWND hwnd, UINT message, UINT_PTR id, DWORD) {
    EXPECT_EQ(hwnd, nullptr);
    EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
    firedThreadTimers.push_back(id);
}

// A late loop may skip beats (a timer does not catch up), so only the order
// of first firings, the earliest times and the repetition are certain.
TEST_F(LoopTest, WindowTimers_FireInTheOrderOfTheirIntervalsNotBeforeThemAndRepeat) {
    TestDialog dialog;
    HWND hwnd = dialog.Create();
    const auto start = Clock::now();
    std::vector<std::pair<UINT_PTR, milliseconds>> fired;
    dialog.onMessage = [&](TestDialog&, UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_TIMER) fired.emplace_back(wParam, std::chrono::duration_cast<milliseconds>(Clock::now() - start));
    };
    EXPECT_EQ(SetTimer(hwnd, 204, 70, nullptr), 204u);
    EXPECT_EQ(SetTimer(hwnd, 205, 20, nullptr), 205u);
    SetTimer(hwnd, 206, 50, nullptr);
    auto firings = [&](UINT_PTR id) {
        std::vector<milliseconds> times;
        for (const auto& [which, when] : fired)
            if (which == id) times.push_back(when);
        return times;
    };
    while (firings(204).empty() || firings(205).size() < 2) PumpOne();

    std::vector<UINT_PTR> firstFirings;
    for (const auto& [id, when] : fired)
        if (std::find(firstFirings.begin(), firstFirings.end(), id) == firstFirings.end()) firstFirings.push_back(id);
    EXPECT_EQ(firstFirings, (std::vector<UINT_PTR>{205, 206, 204}));
    EXPECT_GE(firings(205)[0], milliseconds(20));
    EXPECT_GE(firings(205)[1], milliseconds(40));
    EXPECT_GE(firings(206)[0], milliseconds(50));
    EXPECT_GE(firings(204)[0], milliseconds(70));
}

TEST_F(LoopTest, SetTimerOfARunningId_RestartsIt_KillTimerStopsIt) {
    TestDialog dialog;
    HWND hwnd = dialog.Create();
    const auto start = Clock::now();
    SetTimer(hwnd, 1, 30, nullptr);
    SetTimer(hwnd, 2, 20, nullptr);
    SetTimer(hwnd, 3, 50, nullptr);
    MSG msg;
    PumpOne(&msg);
    ASSERT_EQ(msg.wParam, 2u);
    KillTimer(hwnd, 2);
    const auto restart = Clock::now();
    SetTimer(hwnd, 1, 60, nullptr);  // was due at 30 ms, now 60 ms after the restart
    PumpOne(&msg);
    EXPECT_EQ(msg.wParam, 3u);
    KillTimer(hwnd, 3);
    PumpOne(&msg);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_GE(Clock::now() - restart, milliseconds(60));
    EXPECT_GE(Clock::now() - start, milliseconds(80));
    EXPECT_TRUE(KillTimer(hwnd, 1));
    EXPECT_FALSE(KillTimer(hwnd, 1));
}

TEST_F(LoopTest, ThreadTimers_GetFreshIdsAndDispatchCallsTheirProcedure) {
    firedThreadTimers.clear();
    const UINT_PTR first = SetTimer(nullptr, 0, 15, RecordThreadTimer);
    const UINT_PTR second = SetTimer(nullptr, 0, 30, RecordThreadTimer);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_NE(first, second);

    MSG msg;
    PumpOne(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(&RecordThreadTimer));
    KillTimer(nullptr, first);
    PumpOne();
    EXPECT_EQ(firedThreadTimers, (std::vector<UINT_PTR>{first, second}));

    // A killed timer's message no longer calls its procedure.
    msg.wParam = first;
    DispatchMessageA(&msg);
    EXPECT_EQ(firedThreadTimers.size(), 2u);
    KillTimer(nullptr, second);
}

TEST_F(LoopTest, QuitRequest_ComesAfterThePostedMessagesWithItsExitCode) {
    PostQuitMessage(3);
    PostMessageA(nullptr, WM_APP, 1, 2);
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(LoopTest, BadAndUnknownCommands_PrintAnErrorEach_BlankLinesAreIgnored) {
    TestDialog dialog;
    const std::string longWord = std::string(79, 'w') + "\xC3\xA9" + std::string(500, 'w');
    Type("\n   \nfly away\nkey\nkey enter\ncommand 70000\ncommand x\ntray bounce\nchoose 5\n" + longWord +
         "\ncommand 2\n");
    dialog.RunModal();
    EXPECT_EQ(errors.lines, (std::vector<std::string>{
                                "error: unknown command: fly",
                                "error: key: expected one argument",
                                "error: key: expected return, space or escape, not enter",
                                "error: command: expected a command id from 0 to 65535, not 70000",
                                "error: command: expected a command id from 0 to 65535, not x",
                                "error: tray: unknown mouse message: bounce",
                                "error: choose: no menu is open",
                                "error: unknown command: " + std::string(79, 'w') + "...",
                            }));
    EXPECT_TRUE(events.lines.empty());
}

TEST_F(LoopTest, EndOfInput_LastLineWithoutLineFeedCounts_AndTimersGoOn) {
    TestDialog dialog;
    HWND hwnd = dialog.Create();
    Type("command 77\ncommand 78");
    EndInput();
    SetTimer(hwnd, 9, 30, nullptr);
    while (dialog.MessagesNamed(WM_TIMER).size() < 2) PumpOne();
    EXPECT_EQ(dialog.MessagesNamed(WM_COMMAND), (std::vector<UINT>{77, 78}));
    EXPECT_TRUE(errors.lines.empty());
}

TEST_F(LoopTest, InputOutranksADueTimer) {
    TestDialog dialog;
    HWND hwnd = dialog.Create();
    SetTimer(hwnd, 9, 10, nullptr);
    usleep(30000);
    Type("command 77\n");
    MSG msg;
    PumpOne(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
    PumpOne(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
}

}  // namespace
