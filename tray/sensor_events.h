// CSensorEvents: the sink hooked into every tracked sensor. Whenever a
// sensor's state or data changes it reads the sensor's status and hands it
// to the dialog; when a sensor leaves it tells the registry.
#pragma once

#include <sensorsapi.h>

#include "com_object.h"

class CSensorDlg;
class CSensorManagerEvents;

class CSensorEvents : public CComObject<ISensorEvents> {
public:
    CSensorEvents(CSensorDlg* dialog, CSensorManagerEvents* registry);

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
    CSensorDlg* m_dialog;
    CSensorManagerEvents* m_registry;
};
