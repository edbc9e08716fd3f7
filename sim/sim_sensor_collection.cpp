#include "sim_sensor_collection.h"

#include <algorithm>

CSimSensorCollection::CSimSensorCollection(const std::vector<CSimSensor*>& sensors) {
    for (CSimSensor* sensor : sensors) m_entries.push_back({ComRef<ISensor>::Share(sensor), sensor});
}

STDMETHODIMP CSimSensorCollection::QueryInterface(REFIID iid, void** object) {
    return AnswerQuery(iid, object, {&IID_IUnknown, &IID_ISensorCollection});
}

STDMETHODIMP CSimSensorCollection::GetAt(ULONG index, ISensor** sensor) {
    if (sensor == nullptr) return E_POINTER;
    *sensor = nullptr;
    if (index >= m_entries.size()) return E_INVALIDARG;
    const Entry& entry = m_entries[index];
    if (entry.simulated != nullptr && entry.simulated->Definition().Fails(SensorOperation::Fetch)) return E_FAIL;
    *sensor = ComRef<ISensor>(entry.sensor).Detach();
    return S_OK;
}

STDMETHODIMP CSimSensorCollection::GetCount(ULONG* count) {
    if (count == nullptr) return E_POINTER;
    *count = static_cast<ULONG>(m_entries.size());
    return S_OK;
}

STDMETHODIMP CSimSensorCollection::Add(ISensor* sensor) {
    if (sensor == nullptr) return E_POINTER;
    m_entries.push_back({ComRef<ISensor>::Share(sensor), nullptr});
    return S_OK;
}

STDMETHODIMP CSimSensorCollection::Remove(ISensor* sensor) {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [sensor](const Entry& entry) { return entry.sensor.Get() == sensor; });
    if (found == m_entries.end()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    m_entries.erase(found);
    return S_OK;
}

STDMETHODIMP CSimSensorCollection::RemoveByID(REFSENSOR_ID id) {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&id](const Entry& entry) {
        SENSOR_ID entryId{};
        return SUCCEEDED(entry.sensor->GetID(&entryId)) && IsEqualGUID(entryId, id);
    });
    if (found == m_entries.end()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    m_entries.erase(found);
    return S_OK;
}

STDMETHODIMP CSimSensorCollection::Clear() {
    m_entries.clear();
    return S_OK;
}
