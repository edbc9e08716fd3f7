// The sensor registry and its event sink, one unit because each holds the
// other: the registry owns the sink, and the sink tells the registry when a
// sensor leaves.
//
// CSensorManagerEvents, the registry, creates the sensor manager, hooks every
// location sensor into the sink and hears of sensors that enter later,
// holding one reference to each sensor it hooked.
//
// CSensorEvents, the sink hooked into every tracked sensor: whenever a
// sensor's state or data changes it reads the sensor's status and hands it
// to the listener; when a sensor leaves it tells the registry, then the
// listener.
#pragma once

#include <sensorsapi.h>

#include <map>

#include "com_object.h"
#include "com_ref.h"
#include "guid_less.h"
#include "sensor_listener.h"

class CSensorManagerEvents;

class CSensorEvents : public CComObject<ISensorEvents> {
public:
    CSensorEvents(SensorListener* listener, CSensorManagerEvents* registry);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE OnStateChanged(ISensor* sensor, SensorState state) override;
    HRESULT STDMETHODCALLTYPE OnDataUpdated(ISensor* sensor, ISensorDataReport* report) override;
    HRESULT STDMETHODCALLTYPE OnEvent(ISensor* sensor, REFGUID eventId, IPortableDeviceValues* values) override;
    HRESULT STDMETHODCALLTYPE OnLeave(REFSENSOR_ID id) override;

    HRESULT RefreshSensor(ISensor* sensor);
    HRESULT PublishStatus(const SENSOR_ID& id, ISensor* sensor);

    // Cuts the back-pointers when the registry goes away while a sensor that
    // left still holds a reference to this sink.
    void ForgetOwners();

private:
    SensorListener* m_listener;
    CSensorManagerEvents* m_registry;
};

class CSensorManagerEvents : public CComObject<ISensorManagerEvents> {
public:
    explicit CSensorManagerEvents(SensorListener* listener);
    // The dialog destroys the registry directly, once it has stopped it.
    ~CSensorManagerEvents() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE OnSensorEnter(ISensor* sensor, SensorState state) override;

    HRESULT StartWatching();
    HRESULT StopWatching();
    HRESULT TrackSensor(ISensor* sensor);
    HRESULT UntrackSensor(ISensor* sensor);
    HRESULT DropSensorById(REFSENSOR_ID id);

private:
    ComRef<CSensorEvents> m_sink;
    ComRef<ISensorManager> m_manager;
    std::map<GUID, ComRef<ISensor>, GuidLess> m_sensors;
};
