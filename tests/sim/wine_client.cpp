// Run under Wine against the registered sensorsim.dll: creates the sensor
// manager and the Location object through the registry, reads the sensor the
// scenario describes, edits the scenario and waits in a message loop for the
// state change. Prints the first check that fails and exits 1, or exits 0.
#include <windows.h>
#include <locationapi.h>
#include <sensors.h>
#include <sensorsapi.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

const GUID kReceiverId = {0x637d3e4b, 0x20da, 0x4318, {0xb6, 0xfc, 0xa1, 0x00, 0xfd, 0x00, 0x3a, 0x83}};
constexpr char kAcquiring[] =
    "[sensor1]\nid={637D3E4B-20DA-4318-B6FC-A100FD003A83}\nname=Wine Receiver\nstate=3\n";
constexpr char kFix[] =
    "[sensor1]\nid={637D3E4B-20DA-4318-B6FC-A100FD003A83}\nname=Wine Receiver\nstate=0\n"
    "latitude=35.681236\nlongitude=139.767125\n";
constexpr UINT_PTR kGiveUpTimer = 1;
constexpr UINT kGiveUpMilliseconds = 5000;

class StateSink final : public ISensorEvents {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISensorEvents)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    STDMETHODIMP OnStateChanged(ISensor*, SensorState state) override {
        lastState = state;
        PostQuitMessage(0);
        return S_OK;
    }
    STDMETHODIMP OnDataUpdated(ISensor*, ISensorDataReport*) override { return S_OK; }
    STDMETHODIMP OnEvent(ISensor*, REFGUID, IPortableDeviceValues*) override { return S_OK; }
    STDMETHODIMP OnLeave(REFSENSOR_ID) override { return S_OK; }

    ULONG references = 1;
    int lastState = -1;
};

bool Check(bool condition, const char* what) {
    if (!condition) std::printf("FAILED: %s\n", what);
    return condition;
}

void WriteScenario(const char* path, const char* text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); }

bool SensorChecks(const char* scenarioPath) {
    ISensorManager* manager = nullptr;
    if (!Check(SUCCEEDED(CoCreateInstance(CLSID_SensorManager, nullptr, CLSCTX_INPROC_SERVER, IID_ISensorManager,
                                          reinterpret_cast<void**>(&manager))),
               "creating the sensor manager"))
        return false;
    bool ok = true;
    ISensorCollection* collection = nullptr;
    ISensor* sensor = nullptr;
    ULONG count = 0;
    ok = ok && Check(SUCCEEDED(manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection)),
                     "listing the location sensors");
    ok = ok && Check(SUCCEEDED(collection->GetCount(&count)) && count == 1, "one location sensor");
    ok = ok && Check(SUCCEEDED(collection->GetAt(0, &sensor)), "fetching the sensor");
    if (ok) {
        BSTR name = nullptr;
        ok = Check(SUCCEEDED(sensor->GetFriendlyName(&name)) && std::wstring(name) == L"Wine Receiver",
                   "reading the friendly name");
        SysFreeString(name);
        SensorState state = SENSOR_STATE_ERROR;
        ok = ok && Check(SUCCEEDED(sensor->GetState(&state)) && state == SENSOR_STATE_INITIALIZING, "state 3");
    }

    StateSink sink;
    if (ok) {
        sensor->SetEventSink(&sink);
        WriteScenario(scenarioPath, kFix);
        SetTimer(nullptr, kGiveUpTimer, kGiveUpMilliseconds, GiveUp);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        ok = Check(sink.lastState == SENSOR_STATE_READY, "the state change arriving through the message loop");
        sensor->SetEventSink(nullptr);
        ok = ok && Check(sink.references == 1, "the sink released when cleared");
    }
    if (sensor != nullptr) sensor->Release();
    if (collection != nullptr) collection->Release();
    manager->Release();
    return ok;
}

bool LocationChecks() {
    ILocation* location = nullptr;
    if (!Check(SUCCEEDED(CoCreateInstance(CLSID_Location, nullptr, CLSCTX_INPROC_SERVER, IID_ILocation,
                                          reinterpret_cast<void**>(&location))),
               "creating the Location object"))
        return false;
    ILocationReport* report = nullptr;
    ILatLongReport* latLong = nullptr;
    bool ok = Check(SUCCEEDED(location->GetReport(IID_ILatLongReport, &report)), "getting the report");
    ok = ok && Check(SUCCEEDED(report->QueryInterface(IID_ILatLongReport, reinterpret_cast<void**>(&latLong))),
                     "the report offering ILatLongReport");
    if (ok) {
        SENSOR_ID id{};
        DOUBLE latitude = 0;
        ok = Check(SUCCEEDED(latLong->GetSensorID(&id)) && IsEqualGUID(id, kReceiverId), "the providing sensor");
        ok = ok && Check(SUCCEEDED(latLong->GetLatitude(&latitude)) && std::fabs(latitude - 35.681236) < 1e-9,
                         "the latitude");
    }
    if (latLong != nullptr) latLong->Release();
    if (report != nullptr) report->Release();
    location->Release();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: wine_client <scenario file, Windows path>\n");
        return 2;
    }
    WriteScenario(argv[1], kAcquiring);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool ok = SensorChecks(argv[1]) && LocationChecks();
    CoUninitialize();
    std::printf("%s\n", ok ? "sensorsim under Wine: all checks passed" : "sensorsim under Wine: failed");
    return ok ? 0 : 1;
}
