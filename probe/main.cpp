// skyprobe: prints a one-shot report on the location sensors and on the
// Location API's current position, then ends.
#include <locale.h>
#include <windows.h>
#include <objbase.h>
#include <sensorsapi.h>

#include "com_ref.h"
#include "location_report.h"
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

int wmain() {
    _wsetlocale(LC_ALL, L"Japanese");
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    const int exitCode = PrintReports();
    // An unsupported latitude/longitude report ends the program without
    // leaving COM; only a complete report does.
    if (exitCode == kExitReportComplete) CoUninitialize();
    return exitCode;
}
