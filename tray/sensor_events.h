// The tray monitor's two Sensor API event sinks: the registry, which hooks
// every location sensor and hears of new ones, and the sensor sink, which
// reads a sensor's status whenever it changes and hands it to the dialog.
#pragma once

#include <sensorsapi.h>

#include <map>

#include "sensor_dlg.h"

class CSensorManagerEvents;

class CSensorEvents : public ISensorEvents {
public:
    CSensorEvents(CSensorDlg* dialog, CSensorManagerEvents* registry);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE OnStateChanged(ISensor* sensor, SensorState state) override;
    HRESULT STDMETHODCALLTYPE OnDataUpdated(ISensor* sensor, ISensorDataReport* report) override;
    HRESULT STDMETHODCALLTYPE OnEvent(ISensor* sensor, REFGUID eventId, IPortableDeviceValues* values) override;
    HRESULT STDMETHODCALLTYPE OnLeave(REFSENSOR_ID id) override;
    virtual ~CSensorEvents() = default;

    HRESULT RefreshSensor(ISensor* sensor);
    HRESULT PublishStatus(const SENSOR_ID& id, ISensor* sensor);

    // Cuts the back-pointers when the registry goes away while a sensor that
    // left still holds a reference to this sink.
    void Detach();

private:
    LONG m_refCount = 1;
    CSensorDlg* m_dialog;
    CSensorManagerEvents* m_registry;
};

class CSensorManagerEvents : public ISensorManagerEvents {
public:
    explicit CSensorManagerEvents(CSensorDlg* dialog);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE OnSensorEnter(ISensor* sensor, SensorState state) override;
    virtual ~CSensorManagerEvents();

    HRESULT StartWatching();
    HRESULT StopWatching();
    HRESULT TrackSensor(ISensor* sensor);
    HRESULT UntrackSensor(ISensor* sensor);
    HRESULT DropSensorById(REFSENSOR_ID id);

    size_t TrackedCount() const { return m_sensors.size(); }

private:
    CSensorEvents* m_sink;
    ISensorManager* m_manager = nullptr;
    std::map<GUID, ISensor*, GuidLess> m_sensors;
    LONG m_refCount = 1;
};
