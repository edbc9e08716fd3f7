// skyprobe: prints a one-shot report on the location sensors and on the
// Location API's current position, then ends. Options add a JSON form, a
// wait for a ready sensor and a watch of the sensors' events.
#include <locale.h>
#include <windows.h>
#include <objbase.h>
#include <sensorsapi.h>

#include <cstdio>

#include "com_ref.h"
#include "location_report.h"
#include "probe_options.h"
#include "probe_run.h"
#include "sensor_report.h"

namespace {

// Both sections; the sensor manager is released before COM is left.
int PrintReports() {
    // Without a sensor manager both sections still print, minus the sensors.
    // CoCreateInstance leaves the pointer null when it fails.
    ComRef<ISensorManager> manager;
    CoCreateInstance(CLSID_SensorManager, nullptr, CLSCTX_INPROC_SERVER, IID_ISensorManager, manager.PutVoid());
    PrintSensorReport(manager.Get());
    return PrintLocationReport(manager.Get());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const ParsedOptions parsed = ParseOptions(argc, argv);
    if (!parsed.options) {
        std::fprintf(stderr, "skyprobe: %s\n%s", parsed.error.c_str(), kUsage);
        return kExitUsage;
    }
    const ProbeOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(kUsage, stdout);
        return kExitReportComplete;
    }
    if (options.version) {
        std::printf("skyprobe %s\n", SKYPROBE_VERSION);
        return kExitReportComplete;
    }

    _wsetlocale(LC_ALL, L"Japanese");
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (argc > 1) {
        const int exitCode = RunProbe(options);
        CoUninitialize();
        return exitCode;
    }
    const int exitCode = PrintReports();
    // An unsupported latitude/longitude report ends the program without
    // leaving COM; only a complete report does.
    if (exitCode == kExitReportComplete) CoUninitialize();
    return exitCode;
}
