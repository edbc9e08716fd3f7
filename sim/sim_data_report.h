#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include "scenario.h"
#include "sim_com_object.h"

// A sensor's data report: the values the sensor had when it was made.
class CSimDataReport final : public CComObjectBase<ISensorDataReport> {
public:
    explicit CSimDataReport(const SensorDefinition& sensor);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    STDMETHODIMP GetTimestamp(SYSTEMTIME* timestamp) override;
    // A value not in the report fails with ERROR_NOT_FOUND and leaves the
    // variant empty.
    STDMETHODIMP GetSensorValue(REFPROPERTYKEY key, PROPVARIANT* value) override;
    STDMETHODIMP GetSensorValues(IPortableDeviceKeyCollection* keys, IPortableDeviceValues** values) override;

private:
    SensorDefinition m_sensor;
    SYSTEMTIME m_timestamp;
};
