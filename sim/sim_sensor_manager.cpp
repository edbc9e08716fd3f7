#include "sim_sensor_manager.h"

#include <cstdio>
#include <map>
#include <utility>

#include "gpsd_scenario.h"
#include "guid_less.h"
#include "scenario_timer.h"
#include "sensor_change.h"
#include "sim_data_report.h"
#include "sim_sensor_collection.h"

struct CSimSensorManager::Announcement {
    SensorEvent event;
    ComRef<CSimSensor> sensor;
};

CSimSensorManager::CSimSensorManager(ScenarioFile file) : m_file(std::move(file)) {
    m_gpsd = WatchGpsd(m_file.Current());
    if (m_gpsd) {
        m_gpsd->WaitFirstAnswer();
        m_gpsd->Take(m_gpsdSeen, m_gpsdSensors);
    }
    ApplyScenario(Current());
    if (!m_file.Path().empty()) m_timer = StartScenarioTimer(this);
}

// A real platform would go on calling a sink its program forgot to take
// back; the simulator says so, once, when the manager goes.
CSimSensorManager::~CSimSensorManager() {
    StopScenarioTimer(m_timer);
    bool sinkLeft = static_cast<bool>(m_sink);
    for (const ComRef<CSimSensor>& sensor : m_sensors) sinkLeft = sinkLeft || static_cast<bool>(sensor->Sink());
    if (sinkLeft) std::fprintf(stderr, "sensorsim: sensor manager released with an event sink still set\n");
}

Scenario CSimSensorManager::Current() const { return WithGpsdReceivers(m_file.Current(), m_gpsdSensors); }

// Takes the latest of gpsd's receivers, decoded by the feed's worker; a
// new server is watched without waiting for it.
void CSimSensorManager::CheckScenario() {
    const bool fileChanged = m_file.Refresh();
    if (fileChanged && m_file.Current().gpsdServer != (m_gpsd ? std::optional(m_gpsd->Server()) : std::nullopt)) {
        m_gpsd = WatchGpsd(m_file.Current());
        m_gpsdSensors.clear();
        m_gpsdSeen = 0;
    } else if (fileChanged && m_gpsd) {
        m_gpsd->SetStaleSeconds(m_file.Current().gpsdStaleSeconds);
    }
    const bool gpsdChanged = m_gpsd && m_gpsd->Take(m_gpsdSeen, m_gpsdSensors);
    if (!fileChanged && !gpsdChanged) return;
    // Every sensor is updated before anyone is told, so that a sink calling
    // back sees the new scenario throughout.
    for (const Announcement& announcement : ApplyScenario(Current())) Announce(announcement);
}

std::vector<CSimSensorManager::Announcement> CSimSensorManager::ApplyScenario(const Scenario& scenario) {
    std::vector<Announcement> announcements;
    std::vector<ComRef<CSimSensor>> known = std::move(m_sensors);
    m_sensors.clear();
    std::map<GUID, std::size_t, GuidLess> knownById;
    for (std::size_t i = 0; i < known.size(); ++i) knownById.emplace(known[i]->Definition().id, i);

    auto takeKnown = [&](REFGUID id) {
        const auto found = knownById.find(id);
        if (found == knownById.end()) return ComRef<CSimSensor>();
        ComRef<CSimSensor> sensor = std::move(known[found->second]);
        knownById.erase(found);
        return sensor;
    };
    auto update = [&announcements](const ComRef<CSimSensor>& sensor, const SensorDefinition* before,
                                   const SensorDefinition& after) {
        for (SensorEvent event : EventsForChange(before, after)) announcements.push_back({event, sensor});
        sensor->SetDefinition(after);
    };

    for (const SensorDefinition& definition : scenario.sensors) {
        ComRef<CSimSensor> sensor = takeKnown(definition.id);
        if (sensor) {
            const SensorDefinition before = sensor->Definition();
            update(sensor, &before, definition);
        } else {
            sensor = ComRef<CSimSensor>::Adopt(new CSimSensor(definition));
            update(sensor, nullptr, definition);
        }
        m_sensors.push_back(std::move(sensor));
    }
    for (ComRef<CSimSensor>& sensor : known) {
        if (!sensor) continue;
        SensorDefinition gone = sensor->Definition();
        gone.present = false;
        update(sensor, &sensor->Definition(), gone);
        if (!gone.fromGpsd) m_sensors.push_back(std::move(sensor));
    }
    return announcements;
}

void CSimSensorManager::Announce(const Announcement& announcement) {
    CSimSensor* sensor = announcement.sensor.Get();
    const SensorDefinition& definition = sensor->Definition();
    const auto state = static_cast<SensorState>(definition.state);
    switch (announcement.event) {
        case SensorEvent::Enter:
            if (ComRef<ISensorManagerEvents> sink = m_sink) sink->OnSensorEnter(sensor, state);
            break;
        case SensorEvent::Leave:
            if (auto sink = sensor->TakeSink()) sink->OnLeave(definition.id);
            break;
        case SensorEvent::StateChanged:
            if (auto sink = sensor->Sink()) sink->OnStateChanged(sensor, state);
            break;
        case SensorEvent::DataUpdated:
            if (auto sink = sensor->Sink()) {
                auto report = ComRef<ISensorDataReport>::Adopt(new CSimDataReport(definition));
                sink->OnDataUpdated(sensor, report.Get());
            }
            break;
    }
}

STDMETHODIMP CSimSensorManager::QueryInterface(REFIID iid, void** object) {
    return AnswerQuery(iid, object, {&IID_IUnknown, &IID_ISensorManager});
}

HRESULT CSimSensorManager::CollectPresent(const std::function<bool(const SensorDefinition&)>& matches,
                                          ISensorCollection** found) {
    if (found == nullptr) return E_POINTER;
    *found = nullptr;
    std::vector<CSimSensor*> matching;
    for (const ComRef<CSimSensor>& sensor : m_sensors)
        if (sensor->Definition().present && matches(sensor->Definition())) matching.push_back(sensor.Get());
    if (matching.empty()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    *found = new CSimSensorCollection(matching);
    return S_OK;
}

STDMETHODIMP CSimSensorManager::GetSensorsByCategory(REFSENSOR_CATEGORY_ID category, ISensorCollection** found) {
    return CollectPresent(
        [&category](const SensorDefinition& definition) { return IsEqualGUID(definition.category, category); },
        found);
}

STDMETHODIMP CSimSensorManager::GetSensorsByType(REFSENSOR_TYPE_ID type, ISensorCollection** found) {
    return CollectPresent(
        [&type](const SensorDefinition& definition) { return IsEqualGUID(definition.type, type); }, found);
}

STDMETHODIMP CSimSensorManager::GetSensorByID(REFSENSOR_ID id, ISensor** sensor) {
    if (sensor == nullptr) return E_POINTER;
    *sensor = nullptr;
    for (const ComRef<CSimSensor>& candidate : m_sensors) {
        if (candidate->Definition().present && IsEqualGUID(candidate->Definition().id, id)) {
            *sensor = ComRef<CSimSensor>(candidate).Detach();
            return S_OK;
        }
    }
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

STDMETHODIMP CSimSensorManager::SetEventSink(ISensorManagerEvents* sink) {
    m_sink = ComRef<ISensorManagerEvents>::Share(sink);
    return S_OK;
}

STDMETHODIMP CSimSensorManager::RequestPermissions(HWND, ISensorCollection*, WINBOOL) { return S_OK; }
