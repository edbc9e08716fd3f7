// tray_user: acts as the user's mouse and keyboard on the tray program's
// hidden window, posting what the notification area and a menu would send.
// Exit code 0 when every step succeeded, 1 when one failed, 2 on a usage
// mistake; the report file ends with the exit code.
#include "step_report.h"
#include "tray_script.h"
#include "tray_steps.h"

#include <cstdio>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    TrayScript script;
    std::string error;
    bool parsed = ParseTrayScript(args, script, error);

    StepReport report(script.reportPath);
    if (!report.FileOpen()) std::fprintf(stderr, "tray_user: cannot write %s\n", script.reportPath.c_str());
    int exitCode = 0;
    if (!parsed) {
        report.Error("%s", error.c_str());
        std::fputs(kTrayUserUsage, stderr);
        exitCode = 2;
    } else if (!RunTrayScript(script, report)) {
        exitCode = 1;
    }
    report.Line("exit code %d", exitCode);
    return exitCode;
}
