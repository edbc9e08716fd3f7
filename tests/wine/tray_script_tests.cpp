#include "tray_script.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
    bool ok;
    TrayScript script;
    std::string error;
};

Parsed Parse(std::vector<std::string> args) {
    Parsed parsed;
    parsed.ok = ParseTrayScript(args, parsed.script, parsed.error);
    return parsed;
}

std::vector<UINT> PostedMessages(const TrayScript& script) {
    std::vector<UINT> messages;
    for (const Step& step : script.steps) {
        if (step.kind == StepKind::Post) messages.push_back(step.value);
    }
    return messages;
}

TEST(TrayScript, Gestures_PostWhatTheNotificationAreaSends) {
    Parsed doubleClick = Parse({"lclick-double"});
    ASSERT_TRUE(doubleClick.ok) << doubleClick.error;
    EXPECT_EQ(PostedMessages(doubleClick.script),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));

    Parsed rightClick = Parse({"rclick"});
    ASSERT_TRUE(rightClick.ok) << rightClick.error;
    EXPECT_EQ(PostedMessages(rightClick.script), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
}

TEST(TrayScript, Post_TakesMessagesUntilTheNextStep) {
    Parsed parsed = Parse({"post", "lbuttondown", "rbuttondblclk", "command", "0x8004", "wait-gone"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(parsed.script.steps.size(), 4u);
    EXPECT_EQ(PostedMessages(parsed.script), (std::vector<UINT>{WM_LBUTTONDOWN, WM_RBUTTONDBLCLK}));
    EXPECT_EQ(parsed.script.steps[2].kind, StepKind::Command);
    EXPECT_EQ(parsed.script.steps[2].value, 32772u);
    EXPECT_EQ(parsed.script.steps[3].kind, StepKind::WaitGone);
}

TEST(TrayScript, Options_OverrideTheDefaultsAnywhere) {
    Parsed defaults = Parse({"find"});
    ASSERT_TRUE(defaults.ok);
    EXPECT_EQ(defaults.script.caption, "Lodestar");
    EXPECT_EQ(defaults.script.timeoutMs, 10000u);
    EXPECT_TRUE(defaults.script.reportPath.empty());

    Parsed parsed = Parse({"--report", "Z:\\tmp\\r.txt", "find", "--timeout", "2500", "--caption", "Other",
                           "run", "C:\\app.exe", "key", "escape", "sleep", "40"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.script.reportPath, "Z:\\tmp\\r.txt");
    EXPECT_EQ(parsed.script.timeoutMs, 2500u);
    EXPECT_EQ(parsed.script.caption, "Other");
    ASSERT_EQ(parsed.script.steps.size(), 4u);
    EXPECT_EQ(parsed.script.steps[1].path, "C:\\app.exe");
    EXPECT_EQ(parsed.script.steps[2].value, static_cast<UINT>(VK_ESCAPE));
    EXPECT_EQ(parsed.script.steps[3].value, 40u);
}

TEST(TrayScript, Mistakes_AreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> mistakes = {
        {},
        {"--timeout", "1000"},
        {"double-click"},
        {"post"},
        {"post", "middleclick"},
        {"command"},
        {"command", "70000"},
        {"command", "-1"},
        {"sleep", "1s"},
        {"key", "tab"},
        {"find", "--report"},
        {"run"},
    };
    for (const auto& args : mistakes) {
        Parsed parsed = Parse(args);
        EXPECT_FALSE(parsed.ok) << "accepted: " << ::testing::PrintToString(args);
        EXPECT_FALSE(parsed.error.empty());
    }
}

}  // namespace
