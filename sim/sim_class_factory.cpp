#include "sim_class_factory.h"

#include <locationapi.h>
#include <sensorsapi.h>

#include <memory>
#include <utility>

#include "gpsd_scenario.h"
#include "scenario_path.h"
#include "sim_com_object.h"
#include "sim_location.h"
#include "sim_sensor_manager.h"

namespace {

// Hands the new object (created with one reference) out through `iid`.
template <class Object>
HRESULT HandOut(Object* created, REFIID iid, void** object) {
    auto holder = ComRef<Object>::Adopt(created);
    return holder->QueryInterface(iid, object);
}

class CSimClassFactory final : public CComObjectBase<IClassFactory> {
public:
    explicit CSimClassFactory(const CLSID& clsid) : m_clsid(clsid) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        return AnswerQuery(iid, object, {&IID_IUnknown, &IID_IClassFactory});
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        const std::string path = ScenarioPathFromEnvironment();
        if (IsEqualCLSID(m_clsid, CLSID_SensorManager)) return CreateSimSensorManager(path, iid, object);
        return CreateSimLocation(path, iid, object);
    }

    STDMETHODIMP LockServer(BOOL lock) override {
        LockModule(lock != FALSE);
        return S_OK;
    }

private:
    CLSID m_clsid;
};

}  // namespace

HRESULT CreateSimSensorManager(const std::string& scenarioPath, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    ScenarioFile file(scenarioPath);
    if (!file.Current().sensorApi) return REGDB_E_CLASSNOTREG;
    return HandOut(new CSimSensorManager(std::move(file)), iid, object);
}

HRESULT CreateSimLocation(const std::string& scenarioPath, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    const ScenarioFile file(scenarioPath);
    if (!file.Current().locationApi) return REGDB_E_CLASSNOTREG;
    if (!file.Current().gpsdServer) return HandOut(new CSimLocation(file.Shared()), iid, object);
    const auto gpsd = WatchGpsd(file.Current());
    gpsd->WaitFirstAnswer();
    auto scenario = std::make_shared<const Scenario>(WithGpsdReceivers(file.Current(), gpsd->Sensors()));
    return HandOut(new CSimLocation(std::move(scenario)), iid, object);
}

HRESULT GetSimClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_SensorManager) && !IsEqualCLSID(clsid, CLSID_Location))
        return CLASS_E_CLASSNOTAVAILABLE;
    return HandOut(new CSimClassFactory(clsid), iid, object);
}
