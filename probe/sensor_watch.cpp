#include "sensor_watch.h"

#include <sensors.h>

#include <deque>
#include <map>
#include <mutex>
#include <utility>

#include "com_object.h"
#include "guid_less.h"

struct SensorWatch::Shared {
    struct Watched {
        ComRef<ISensor> sensor;
        SensorName name;
    };

    Shared() : wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~Shared() {
        if (wake != nullptr) CloseHandle(wake);
    }

    void Queue(WatchEvent event) {
        {
            const std::lock_guard<std::mutex> guard(lock);
            if (stopped) return;
            events.push_back(std::move(event));
        }
        SetEvent(wake);
    }

    const HANDLE wake;
    std::mutex lock;
    bool stopped = false;
    std::deque<WatchEvent> events;
    std::map<GUID, Watched, GuidLess> sensors;
};

namespace {

using Shared = SensorWatch::Shared;

WatchEvent EventOf(WatchEvent::Kind kind, ISensor* sensor) {
    return {std::chrono::system_clock::now(), kind, ReadSensorId(sensor), ReadFriendlyName(sensor), {}, {}};
}

class SensorSink final : public CComObject<ISensorEvents> {
public:
    explicit SensorSink(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return AnswerQuery(iid, object, {&IID_IUnknown, &IID_ISensorEvents});
    }
    HRESULT STDMETHODCALLTYPE OnStateChanged(ISensor* sensor, SensorState state) override {
        if (sensor == nullptr) return E_POINTER;
        WatchEvent event = EventOf(WatchEvent::Kind::StateChanged, sensor);
        event.state = state;
        m_shared->Queue(std::move(event));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDataUpdated(ISensor* sensor, ISensorDataReport* report) override {
        if (sensor == nullptr || report == nullptr) return E_POINTER;
        WatchEvent event = EventOf(WatchEvent::Kind::DataUpdated, sensor);
        event.values = ReadReportValues(report);
        m_shared->Queue(std::move(event));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(ISensor*, REFGUID, IPortableDeviceValues*) override { return S_OK; }
    // A sensor that left calls its sink no more: its reference is let go.
    HRESULT STDMETHODCALLTYPE OnLeave(REFSENSOR_ID id) override {
        Shared::Watched gone;
        {
            const std::lock_guard<std::mutex> guard(m_shared->lock);
            const auto found = m_shared->sensors.find(id);
            if (found != m_shared->sensors.end()) {
                gone = std::move(found->second);
                m_shared->sensors.erase(found);
            }
        }
        m_shared->Queue({std::chrono::system_clock::now(), WatchEvent::Kind::Leave, id, gone.name, {}, {}});
        return S_OK;
    }

    // Sets this sink on a location sensor not watched yet. False when it is
    // watched already or is no location sensor.
    bool Watch(ISensor* sensor) {
        SENSOR_CATEGORY_ID category;
        const std::optional<GUID> id = ReadSensorId(sensor);
        if (!id || FAILED(sensor->GetCategory(&category)) || !IsEqualGUID(category, SENSOR_CATEGORY_LOCATION))
            return false;
        {
            const std::lock_guard<std::mutex> guard(m_shared->lock);
            if (m_shared->stopped || m_shared->sensors.count(*id) != 0) return false;
            m_shared->sensors[*id] = {ComRef<ISensor>::Share(sensor), ReadFriendlyName(sensor)};
        }
        sensor->SetEventSink(this);
        return true;
    }

private:
    std::shared_ptr<Shared> m_shared;
};

class ManagerSink final : public CComObject<ISensorManagerEvents> {
public:
    ManagerSink(std::shared_ptr<Shared> shared, ComRef<SensorSink> sensorSink)
        : m_shared(std::move(shared)), m_sensorSink(std::move(sensorSink)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return AnswerQuery(iid, object, {&IID_IUnknown, &IID_ISensorManagerEvents});
    }
    HRESULT STDMETHODCALLTYPE OnSensorEnter(ISensor* sensor, SensorState state) override {
        if (sensor == nullptr) return E_POINTER;
        if (!m_sensorSink->Watch(sensor)) return S_OK;
        WatchEvent event = EventOf(WatchEvent::Kind::Enter, sensor);
        event.state = state;
        m_shared->Queue(std::move(event));
        return S_OK;
    }

private:
    std::shared_ptr<Shared> m_shared;
    ComRef<SensorSink> m_sensorSink;
};

}  // namespace

SensorWatch::SensorWatch(ISensorManager* manager)
    : m_manager(ComRef<ISensorManager>::Share(manager)), m_shared(std::make_shared<Shared>()) {
    if (!m_manager) return;
    auto sensorSink = ComRef<SensorSink>::Adopt(new SensorSink(m_shared));
    auto managerSink = ComRef<ManagerSink>::Adopt(new ManagerSink(m_shared, sensorSink));
    // The manager's sink first, so that no sensor can enter unseen between
    // the two steps; one seen twice is watched once.
    if (SUCCEEDED(m_manager->SetEventSink(managerSink.Get())))
        m_managerSink = ComRef<ISensorManagerEvents>::Share(managerSink.Get());

    ComRef<ISensorCollection> sensors;
    if (FAILED(m_manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, sensors.Put())) || !sensors) return;
    ULONG count = 0;
    if (FAILED(sensors->GetCount(&count))) count = 0;
    for (ULONG index = 0; index < count; ++index) {
        ComRef<ISensor> sensor;
        if (SUCCEEDED(sensors->GetAt(index, sensor.Put())) && sensor) sensorSink->Watch(sensor.Get());
    }
}

SensorWatch::~SensorWatch() { Stop(); }

HANDLE SensorWatch::WakeEvent() const { return m_shared->wake; }

std::vector<WatchEvent> SensorWatch::TakeEvents() {
    const std::lock_guard<std::mutex> guard(m_shared->lock);
    std::vector<WatchEvent> events(std::make_move_iterator(m_shared->events.begin()),
                                   std::make_move_iterator(m_shared->events.end()));
    m_shared->events.clear();
    return events;
}

void SensorWatch::Stop() {
    if (m_managerSink) {
        m_manager->SetEventSink(nullptr);
        m_managerSink.Reset();
    }
    std::map<GUID, Shared::Watched, GuidLess> sensors;
    {
        const std::lock_guard<std::mutex> guard(m_shared->lock);
        m_shared->stopped = true;
        m_shared->events.clear();
        sensors.swap(m_shared->sensors);
    }
    // Outside the lock: a platform may wait for a sink call in progress.
    for (auto& [id, watched] : sensors) watched.sensor->SetEventSink(nullptr);
}
