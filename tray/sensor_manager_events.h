// CSensorManagerEvents: the sensor registry. It creates the sensor manager,
// hooks every location sensor into the sink and hears of sensors that enter
// later, holding one reference to each sensor it hooked.
#pragma once

#include <sensorsapi.h>

#include <map>

#include "com_object.h"
#include "com_ref.h"
#include "guid_less.h"
#include "sensor_events.h"

class CSensorManagerEvents : public CComObject<ISensorManagerEvents> {
public:
    explicit CSensorManagerEvents(CSensorDlg* dialog);
    // The dialog destroys the registry directly, once it has stopped it.
    ~CSensorManagerEvents() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE OnSensorEnter(ISensor* sensor, SensorState state) override;

    HRESULT StartWatching();
    HRESULT StopWatching();
    HRESULT TrackSensor(ISensor* sensor);
    HRESULT UntrackSensor(ISensor* sensor);
    HRESULT DropSensorById(REFSENSOR_ID id);

    size_t TrackedCount() const { return m_sensors.size(); }

private:
    ComRef<CSensorEvents> m_sink;
    ComRef<ISensorManager> m_manager;
    std::map<GUID, ComRef<ISensor>, GuidLess> m_sensors;
};
