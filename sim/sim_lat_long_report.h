#pragma once

#include <windows.h>
#include <locationapi.h>

#include "scenario.h"
#include "sim_com_object.h"

// A latitude/longitude report carrying one sensor's id and position. A value
// the sensor does not have fails with ERROR_NOT_FOUND.
class CSimLatLongReport final : public CComObjectBase<ILatLongReport> {
public:
    explicit CSimLatLongReport(const SensorDefinition& sensor);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    STDMETHODIMP GetSensorID(SENSOR_ID* id) override;
    STDMETHODIMP GetTimestamp(SYSTEMTIME* timestamp) override;
    STDMETHODIMP GetValue(REFPROPERTYKEY key, PROPVARIANT* value) override;

    STDMETHODIMP GetLatitude(DOUBLE* latitude) override;
    STDMETHODIMP GetLongitude(DOUBLE* longitude) override;
    STDMETHODIMP GetErrorRadius(DOUBLE* errorRadius) override;
    STDMETHODIMP GetAltitude(DOUBLE* altitude) override;
    STDMETHODIMP GetAltitudeError(DOUBLE* altitudeError) override;

private:
    HRESULT ReadValue(SensorValue value, DOUBLE* result) const;

    SensorDefinition m_sensor;
    SYSTEMTIME m_timestamp;
};
