#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include "scenario.h"
#include "sim_com_object.h"

// One simulated sensor. Its description is replaced when the scenario is
// read again, so a caller holding the sensor sees the new state and gets its
// events. The event sink holds one reference while it is set.
class CSimSensor final : public CComObjectBase<ISensor> {
public:
    explicit CSimSensor(const SensorDefinition& definition);

    const SensorDefinition& Definition() const { return m_definition; }
    void SetDefinition(const SensorDefinition& definition) { m_definition = definition; }
    // The sink to call, with a reference for the caller (empty when none).
    ComRef<ISensorEvents> Sink() const { return m_sink; }
    // Removes the sink, as a sensor that has gone no longer calls it.
    ComRef<ISensorEvents> TakeSink();

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    STDMETHODIMP GetID(SENSOR_ID* id) override;
    STDMETHODIMP GetCategory(SENSOR_CATEGORY_ID* category) override;
    STDMETHODIMP GetType(SENSOR_TYPE_ID* type) override;
    STDMETHODIMP GetFriendlyName(BSTR* name) override;
    STDMETHODIMP GetProperty(REFPROPERTYKEY key, PROPVARIANT* property) override;
    STDMETHODIMP GetProperties(IPortableDeviceKeyCollection* keys, IPortableDeviceValues** properties) override;
    STDMETHODIMP GetSupportedDataFields(IPortableDeviceKeyCollection** fields) override;
    STDMETHODIMP SetProperties(IPortableDeviceValues* properties, IPortableDeviceValues** results) override;
    STDMETHODIMP SupportsDataField(REFPROPERTYKEY key, VARIANT_BOOL* supported) override;
    STDMETHODIMP GetState(SensorState* state) override;
    STDMETHODIMP GetData(ISensorDataReport** report) override;
    STDMETHODIMP SupportsEvent(REFGUID event, VARIANT_BOOL* supported) override;
    STDMETHODIMP GetEventInterest(GUID** events, ULONG* count) override;
    STDMETHODIMP SetEventInterest(GUID* events, ULONG count) override;
    STDMETHODIMP SetEventSink(ISensorEvents* sink) override;

private:
    bool Fails(SensorOperation operation) const { return m_definition.Fails(operation); }

    SensorDefinition m_definition;
    ComRef<ISensorEvents> m_sink;
};
