// skyprobe's command line, as a user at a terminal meets it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace {

ProgramRun Skyprobe(const std::vector<std::string>& arguments) {
    return RunProgram(SKYPROBE_EXE, arguments, {{"SENSORSIM_SCENARIO", EXAMPLES_DIR "/gps_fix.ini"}});
}

TEST(SkyprobeArguments, HelpAndVersion_PrintOnStandardOutput_AndSucceed) {
    const ProgramRun help = Skyprobe({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("Usage: skyprobe ", 0), 0u) << help.output;
    EXPECT_EQ(help.errors, "");
    // Help wins over the other options, as a user asking for it expects.
    EXPECT_EQ(Skyprobe({"--json", "--help"}).output, help.output);

    const ProgramRun version = Skyprobe({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "skyprobe " PROJECT_VERSION_TEXT "\n");
}

TEST(SkyprobeArguments, EachMistake_OneLineNamingIt_ThenUsage_ExitCode2_NothingOnStandardOutput) {
    const std::string usage = Skyprobe({"--help"}).output;
    struct Case {
        std::vector<std::string> arguments;
        std::string named;  // what the error line must quote
    };
    const Case cases[] = {
        {{"--bogus"}, "'--bogus'"},
        {{"--jsonx"}, "'--jsonx'"},
        {{"-j"}, "'-j'"},
        {{"/?"}, "'/?'"},  // help on Windows only
        {{"report"}, "'report'"},
        {{"--json=yes"}, "'--json'"},
        {{"--wait"}, "'--wait'"},
        {{"--wait", ""}, "''"},
        {{"--wait", "-1"}, "'-1'"},
        {{"--wait=+1"}, "'+1'"},
        {{"--wait", "1e3"}, "'1e3'"},
        {{"--wait", "86400.5"}, "'86400.5'"},
        {{"--wait", "99999999999999999999999"}, "'99999999999999999999999'"},
        {{"--wait", "1."}, "'1.'"},
        {{"--wait", "0.0001"}, "'0.0001'"},
        {{"--wait", "nan"}, "'nan'"},
        {{"--watch", "--count", "0"}, "'0'"},
        {{"--watch", "--count", "1000000001"}, "'1000000001'"},
        {{"--watch", "--count=-3"}, "'-3'"},
        {{"--watch", "--seconds", "inf"}, "'inf'"},
        {{"--count", "5"}, "'--count'"},    // without --watch
        {{"--seconds=1"}, "'--seconds'"},   // without --watch
        {{"--wait", "\x1b[2J"}, "'?[2J'"},  // no escape reaches the terminal
    };
    for (const Case& test : cases) {
        std::string shown;
        for (const std::string& argument : test.arguments) shown += " [" + argument + "]";
        SCOPED_TRACE(shown);
        const ProgramRun run = Skyprobe(test.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.output, "");
        const size_t lineEnd = run.errors.find('\n');
        ASSERT_NE(lineEnd, std::string::npos) << run.errors;
        const std::string line = run.errors.substr(0, lineEnd);
        EXPECT_EQ(line.rfind("skyprobe: ", 0), 0u) << line;
        EXPECT_NE(line.find(test.named), std::string::npos) << line;
        EXPECT_EQ(run.errors.substr(lineEnd + 1), usage);
    }
}

TEST(SkyprobeArguments, ValuesBothWays_AndAtTheirBounds_AreAccepted) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--wait", "0"}, {"--wait=0.250"}, {"--json", "--wait=0", "--watch", "--count", "1", "--seconds=0"},
             {"--watch", "--seconds", "0", "--count=1000000000"}}) {
        const ProgramRun run = Skyprobe(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        EXPECT_EQ(run.errors, "");
    }
}

}  // namespace
