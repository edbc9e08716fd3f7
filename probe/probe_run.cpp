#include "probe_run.h"

#include <objbase.h>
#include <utf8_output.h>
#include <wide_print.h>

#include <cstdio>
#include <memory>

#include "com_ref.h"
#include "dispatching_wait.h"
#include "json_report.h"
#include "location_report.h"
#include "sensor_report.h"
#include "sensor_watch.h"
#include "watch_lines.h"

namespace {

// Also when the wait's time ran out with no sensor ready.
constexpr int kExitNoReadySensor = 1;

struct WaitOutcome {
    bool ready = false;
    std::chrono::milliseconds took{};

    double Seconds() const { return static_cast<double>(took.count()) / 1000.0; }
};

bool AnyReadyWithPosition(ISensorManager* manager) {
    for (const SensorReading& sensor : ReadLocationSensors(manager))
        if (ReadyWithPosition(sensor)) return true;
    return false;
}

// Looks again after every event of a sensor, until one is ready with a
// position, the time is up or the user stops it.
WaitOutcome WaitForReadySensor(ISensorManager* manager, SensorWatch& watch, std::chrono::milliseconds limit) {
    const SteadyTime start = std::chrono::steady_clock::now();
    WaitOutcome outcome;
    for (;;) {
        watch.TakeEvents();
        outcome.ready = AnyReadyWithPosition(manager);
        if (outcome.ready || StopOnControl::Requested()) break;
        if (!WaitDispatching(watch.WakeEvent(), start + limit)) break;
    }
    outcome.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    return outcome;
}

void PrintText(const wchar_t* text) {
    WidePrintf(L"%s", text);
    std::fflush(stdout);
}

// Prints each event until the count or the time is reached or the user
// stops it.
void WatchEvents(SensorWatch& watch, const ProbeOptions& options) {
    std::optional<SteadyTime> deadline;
    if (options.seconds) deadline = std::chrono::steady_clock::now() + *options.seconds;
    std::uint32_t printed = 0;
    for (;;) {
        for (const WatchEvent& event : watch.TakeEvents()) {
            if (options.json)
                WriteUtf8Output(JsonLine(WatchEventJson(event)));
            else
                PrintText(WatchEventText(event).c_str());
            if (options.count && ++printed >= *options.count) return;
        }
        if (StopOnControl::Requested()) return;
        if (!WaitDispatching(watch.WakeEvent(), deadline) && deadline) return;
    }
}

}  // namespace

int RunProbe(const ProbeOptions& options) {
    ComRef<ISensorManager> manager;
    CoCreateInstance(CLSID_SensorManager, nullptr, CLSCTX_INPROC_SERVER, IID_ISensorManager, manager.PutVoid());

    std::unique_ptr<SensorWatch> watch;
    if (options.wait || options.watch) watch = std::make_unique<SensorWatch>(manager.Get());
    std::optional<StopOnControl> stop;
    if (watch) stop.emplace(watch->WakeEvent());

    std::optional<WaitOutcome> waited;
    if (options.wait) waited = WaitForReadySensor(manager.Get(), *watch, *options.wait);
    // Sinks stay only to watch; events from before the report are not told.
    if (watch && !options.watch) watch->Stop();
    if (watch) watch->TakeEvents();

    const std::vector<SensorReading> sensors = ReadLocationSensors(manager.Get());
    const LocationReading location = ReadLocation(manager.Get());
    int exitCode = LocationExitCode(location);
    if (waited && !waited->ready) exitCode = kExitNoReadySensor;
    if (options.watch) exitCode = kExitReportComplete;

    if (options.json) {
        // No sensor manager: no list at all, which an empty list would hide.
        nlohmann::ordered_json report = {{"sensors", nullptr}};
        if (manager) report["sensors"] = nlohmann::ordered_json::array();
        for (const SensorReading& sensor : sensors) report["sensors"].push_back(SensorJson(sensor));
        report["location"] = LocationJson(location);
        if (waited) report["wait"] = {{"seconds", waited->Seconds()}, {"ready", waited->ready}};
        report["exit_code"] = exitCode;
        WriteUtf8Output(JsonLine(report));
    } else {
        if (waited)
            WidePrintf(waited->ready ? L"Waited %.3f s: a location sensor is ready\n"
                                     : L"Waited %.3f s: no location sensor is ready\n",
                       waited->Seconds());
        PrintSensorSection(sensors);
        PrintLocationSection(location);
        std::fflush(stdout);
    }

    if (options.watch && !StopOnControl::Requested()) WatchEvents(*watch, options);
    if (watch) watch->Stop();
    return exitCode;
}
