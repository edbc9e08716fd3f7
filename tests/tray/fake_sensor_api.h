// Counting fakes of the Sensor API for unit tests: every object counts its
// references, and sinks are held the way the platform holds them.
#pragma once

#include <windows.h>
#include <sensorsapi.h>
#include <sensors.h>

#include <map>
#include <string>
#include <vector>

template <typename Interface>
class CountedFake : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, InterfaceId())) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        ++releases;
        return --refs;  // fakes live on the test's stack: never deleted here
    }
    virtual REFIID InterfaceId() const = 0;

    long refs = 1;
    int releases = 0;
};

class FakeDataReport : public CountedFake<ISensorDataReport> {
public:
    REFIID InterfaceId() const override { return IID_ISensorDataReport; }
    HRESULT STDMETHODCALLTYPE GetTimestamp(SYSTEMTIME*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSensorValue(REFPROPERTYKEY key, PROPVARIANT* value) override {
        PropVariantInit(value);
        if (failValues) return E_FAIL;
        auto it = values.find(key.pid);
        if (it == values.end()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
        *value = it->second;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSensorValues(IPortableDeviceKeyCollection*, IPortableDeviceValues**) override {
        return E_NOTIMPL;
    }

    void SetDouble(DWORD pid, double v) {
        PROPVARIANT p{};
        p.vt = VT_R8;
        p.dblVal = v;
        values[pid] = p;
    }
    void SetInt(DWORD pid, LONG v) {
        PROPVARIANT p{};
        p.vt = VT_I4;
        p.lVal = v;
        values[pid] = p;
    }
    void SetFloat(DWORD pid, float v) {
        PROPVARIANT p{};
        p.vt = VT_R4;
        p.fltVal = v;
        values[pid] = p;
    }

    std::map<DWORD, PROPVARIANT> values;
    bool failValues = false;
};

class FakeSensor : public CountedFake<ISensor> {
public:
    explicit FakeSensor(const GUID& sensorId, const wchar_t* friendlyName = L"Fake GPS")
        : id(sensorId), name(friendlyName ? friendlyName : L"") {}
    ~FakeSensor() {
        if (sink) sink->Release();
    }
    REFIID InterfaceId() const override { return IID_ISensor; }

    HRESULT STDMETHODCALLTYPE GetID(SENSOR_ID* out) override {
        if (failId) return E_FAIL;
        *out = id;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCategory(SENSOR_CATEGORY_ID* out) override {
        if (failCategory) return E_FAIL;
        *out = category;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetType(SENSOR_TYPE_ID* out) override {
        *out = SENSOR_TYPE_LOCATION_GPS;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFriendlyName(BSTR* out) override {
        *out = nullptr;
        if (failName) return E_FAIL;
        *out = SysAllocString(name.c_str());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetProperty(REFPROPERTYKEY, PROPVARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetProperties(IPortableDeviceKeyCollection*, IPortableDeviceValues**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetSupportedDataFields(IPortableDeviceKeyCollection**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetProperties(IPortableDeviceValues*, IPortableDeviceValues**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SupportsDataField(REFPROPERTYKEY, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetState(SensorState* out) override {
        if (failState) return E_FAIL;
        *out = state;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetData(ISensorDataReport** out) override {
        *out = nullptr;
        if (failData) return E_FAIL;
        if (nullReport) return S_OK;
        report.AddRef();
        *out = &report;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SupportsEvent(REFGUID, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEventInterest(GUID**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetEventInterest(GUID*, ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetEventSink(ISensorEvents* events) override {
        if (failSetSink) return E_FAIL;
        if (events) events->AddRef();
        if (sink) sink->Release();
        sink = events;
        return S_OK;
    }

    GUID id;
    std::wstring name;
    GUID category = SENSOR_CATEGORY_LOCATION;
    SensorState state = SENSOR_STATE_READY;
    FakeDataReport report;
    ISensorEvents* sink = nullptr;
    bool failId = false, failCategory = false, failName = false, failState = false, failData = false;
    bool nullReport = false, failSetSink = false;
};

class FakeSensorCollection : public CountedFake<ISensorCollection> {
public:
    REFIID InterfaceId() const override { return IID_ISensorCollection; }
    HRESULT STDMETHODCALLTYPE GetAt(ULONG index, ISensor** out) override {
        *out = nullptr;
        if (index >= sensors.size()) return E_INVALIDARG;
        sensors[index]->AddRef();
        *out = sensors[index];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCount(ULONG* count) override {
        *count = static_cast<ULONG>(sensors.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Add(ISensor*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Remove(ISensor*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveByID(REFSENSOR_ID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear() override { return E_NOTIMPL; }

    std::vector<ISensor*> sensors;
};

class FakeSensorManager : public CountedFake<ISensorManager> {
public:
    ~FakeSensorManager() {
        if (sink) sink->Release();
    }
    REFIID InterfaceId() const override { return IID_ISensorManager; }
    HRESULT STDMETHODCALLTYPE GetSensorsByCategory(REFSENSOR_CATEGORY_ID, ISensorCollection** out) override {
        *out = nullptr;
        if (collection.sensors.empty()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
        collection.AddRef();
        *out = &collection;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSensorsByType(REFSENSOR_TYPE_ID, ISensorCollection**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSensorByID(REFSENSOR_ID, ISensor**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetEventSink(ISensorManagerEvents* events) override {
        if (events) events->AddRef();
        if (sink) sink->Release();
        sink = events;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RequestPermissions(HWND, ISensorCollection*, WINBOOL) override { return S_OK; }

    FakeSensorCollection collection;
    ISensorManagerEvents* sink = nullptr;
};

// Hands out one FakeSensorManager for CLSID_SensorManager while registered.
class FakeManagerFactory : public CountedFake<IClassFactory> {
public:
    explicit FakeManagerFactory(FakeSensorManager* managerToGive) : manager(managerToGive) {
        CoRegisterClassObject(CLSID_SensorManager, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    }
    ~FakeManagerFactory() { CoRevokeClassObject(cookie); }
    REFIID InterfaceId() const override { return IID_IClassFactory; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** object) override {
        if (!manager) return E_FAIL;
        return manager->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    FakeSensorManager* manager;
    DWORD cookie = 0;
};
