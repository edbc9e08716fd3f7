#include <gtest/gtest.h>

#include <cstdlib>

#include "scenario_path.h"

namespace {

TEST(ScenarioPathTest, UnixPath_BecomesWineDriveZ_WhereTheSeparatorIsBackslash) {
    EXPECT_EQ(ScenarioPathForSystem("/tmp/scenarios/gps fix.ini", '\\'), "Z:\\tmp\\scenarios\\gps fix.ini");
    EXPECT_EQ(ScenarioPathForSystem("/a.ini", '\\'), "Z:\\a.ini");
}

TEST(ScenarioPathTest, WindowsAndRelativePaths_StayAsTheyAre) {
    EXPECT_EQ(ScenarioPathForSystem("C:\\scenarios\\a.ini", '\\'), "C:\\scenarios\\a.ini");
    EXPECT_EQ(ScenarioPathForSystem("examples/a.ini", '\\'), "examples/a.ini");
    EXPECT_EQ(ScenarioPathForSystem("", '\\'), "");
}

TEST(ScenarioPathTest, NothingChanges_WhereTheSeparatorIsSlash) {
    EXPECT_EQ(ScenarioPathForSystem("/tmp/a.ini", '/'), "/tmp/a.ini");
    EXPECT_EQ(ScenarioPathForSystem("/tmp/a.ini"), "/tmp/a.ini");
}

TEST(ScenarioPathTest, PathComesFromTheEnvironment) {
    ::unsetenv(kScenarioVariable);
    EXPECT_EQ(ScenarioPathFromEnvironment(), "");
    ::setenv(kScenarioVariable, "/tmp/x.ini", 1);
    EXPECT_EQ(ScenarioPathFromEnvironment(), "/tmp/x.ini");
    ::unsetenv(kScenarioVariable);
}

}  // namespace
