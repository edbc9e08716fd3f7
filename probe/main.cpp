// skyprobe: prints a one-shot report on the location sensors and on the
// Location API's current position, then ends.
#include <locale.h>
#include <windows.h>
#include <objbase.h>
#include <sensorsapi.h>

#include "location_report.h"
#include "sensor_report.h"

int wmain() {
    _wsetlocale(LC_ALL, L"Japanese");
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);

    // Without a sensor manager both sections still print, minus the sensors.
    ISensorManager* manager = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SensorManager, nullptr, CLSCTX_INPROC_SERVER, IID_ISensorManager,
                                reinterpret_cast<void**>(&manager))))
        manager = nullptr;

    PrintSensorReport(manager);
    const int exit_code = PrintLocationReport(manager);

    if (manager != nullptr) manager->Release();
    // An unsupported latitude/longitude report ends the program without
    // leaving COM; only a complete report does.
    if (exit_code == kExitReportComplete) CoUninitialize();
    return exit_code;
}
