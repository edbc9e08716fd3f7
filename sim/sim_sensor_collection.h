#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <vector>

#include "sim_com_object.h"
#include "sim_sensor.h"

// A list of sensors, one reference to each. Fetching a simulated sensor whose
// scenario says "fail = fetch" fails.
class CSimSensorCollection final : public CComObjectBase<ISensorCollection> {
public:
    explicit CSimSensorCollection(const std::vector<CSimSensor*>& sensors);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    STDMETHODIMP GetAt(ULONG index, ISensor** sensor) override;
    STDMETHODIMP GetCount(ULONG* count) override;
    STDMETHODIMP Add(ISensor* sensor) override;
    STDMETHODIMP Remove(ISensor* sensor) override;
    STDMETHODIMP RemoveByID(REFSENSOR_ID id) override;
    STDMETHODIMP Clear() override;

private:
    struct Entry {
        ComRef<ISensor> sensor;
        const CSimSensor* simulated;  // the same object, when it is one of ours
    };
    std::vector<Entry> m_entries;
};
