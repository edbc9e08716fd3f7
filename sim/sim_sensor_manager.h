#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "scenario_file.h"
#include "sim_com_object.h"
#include "sim_sensor.h"

class GpsdFeed;

// The simulated sensor manager. It serves the sensors of a scenario file (and
// the receivers of the gpsd it names) and, while it lives, checks the file and
// gpsd every 100 ms on the thread that created it and announces what changed.
// A sensor keeps its object across reloads (found by id), and the manager
// keeps one reference to every sensor of the file it has served; a gpsd
// receiver is forgotten once its departure has been announced. A manager
// released while a sink is still set on it or on one of its sensors says so
// on standard error.
class CSimSensorManager final : public CComObjectBase<ISensorManager> {
public:
    explicit CSimSensorManager(ScenarioFile file);
    ~CSimSensorManager() override;

    // Reads the scenario again if the file changed, then announces: for each
    // sensor in enumeration order (then those gone from the file) its arrival
    // (OnSensorEnter to the manager's sink), departure (OnLeave to its own
    // sink, which it then drops), state change and new data.
    void CheckScenario();

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    // Both fail with ERROR_NOT_FOUND when no present sensor matches.
    STDMETHODIMP GetSensorsByCategory(REFSENSOR_CATEGORY_ID category, ISensorCollection** found) override;
    STDMETHODIMP GetSensorsByType(REFSENSOR_TYPE_ID type, ISensorCollection** found) override;
    STDMETHODIMP GetSensorByID(REFSENSOR_ID id, ISensor** sensor) override;
    STDMETHODIMP SetEventSink(ISensorManagerEvents* sink) override;
    STDMETHODIMP RequestPermissions(HWND parent, ISensorCollection* sensors, WINBOOL modal) override;

private:
    struct Announcement;

    std::vector<Announcement> ApplyScenario(const Scenario& scenario);
    void Announce(const Announcement& announcement);
    HRESULT CollectPresent(const std::function<bool(const SensorDefinition&)>& matches, ISensorCollection** found);

    Scenario Current() const;

    ScenarioFile m_file;
    std::shared_ptr<GpsdFeed> m_gpsd;
    // The receivers' sensors as last taken from the feed, and their generation.
    std::vector<SensorDefinition> m_gpsdSensors;
    std::uint64_t m_gpsdSeen = 0;
    // Those in the scenario in its order first, then those gone from the file.
    std::vector<ComRef<CSimSensor>> m_sensors;
    ComRef<ISensorManagerEvents> m_sink;
    UINT_PTR m_timer = 0;
};
