#include "sim_test_support.h"

#include <sensors.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "scenario_text.h"

GUID TestGuid(const char* text) {
    const auto guid = ParseGuid(text);
    EXPECT_TRUE(guid.has_value()) << text;
    return guid.value_or(GUID{});
}

std::string ShortId(const GUID& id) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(id.Data1));
    return text;
}

TempScenario::TempScenario() {
    static std::atomic<int> counter{0};
    const auto name = "sensorsim-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".ini";
    m_path = (std::filesystem::temp_directory_path() / name).string();
    m_stamp = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
}

TempScenario::~TempScenario() { Remove(); }

void TempScenario::Write(const std::string& text) {
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << text;
    m_stamp += std::chrono::seconds(1);
    std::filesystem::last_write_time(m_path, m_stamp);
}

void TempScenario::Remove() {
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
}

STDMETHODIMP RecordingManagerSink::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISensorManagerEvents)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP RecordingManagerSink::OnSensorEnter(ISensor* sensor, SensorState state) {
    SENSOR_ID id{};
    sensor->GetID(&id);
    m_log->push_back("enter " + ShortId(id) + " state " + std::to_string(state));
    m_entered.push_back(sensor);
    return S_OK;
}

STDMETHODIMP RecordingSensorSink::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISensorEvents)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP RecordingSensorSink::OnStateChanged(ISensor* sensor, SensorState state) {
    SENSOR_ID id{};
    sensor->GetID(&id);
    m_log->push_back("state " + ShortId(id) + " " + std::to_string(state));
    return S_OK;
}

STDMETHODIMP RecordingSensorSink::OnDataUpdated(ISensor* sensor, ISensorDataReport* report) {
    SENSOR_ID id{};
    sensor->GetID(&id);
    m_log->push_back("data " + ShortId(id) + " " + ReportValue(report, SENSOR_DATA_TYPE_LATITUDE_DEGREES));
    return S_OK;
}

STDMETHODIMP RecordingSensorSink::OnEvent(ISensor*, REFGUID, IPortableDeviceValues*) { return E_NOTIMPL; }

STDMETHODIMP RecordingSensorSink::OnLeave(REFSENSOR_ID id) {
    m_log->push_back("leave " + ShortId(id));
    return S_OK;
}

std::string ReportValue(ISensorDataReport* report, const PROPERTYKEY& key) {
    PROPVARIANT value;
    PropVariantInit(&value);
    std::ostringstream text;
    if (FAILED(report->GetSensorValue(key, &value))) {
        text << "missing";
        EXPECT_EQ(value.vt, VT_EMPTY);
    } else if (value.vt == VT_R8) {
        text << "R8 " << value.dblVal;
    } else if (value.vt == VT_I4) {
        text << "I4 " << value.lVal;
    } else if (value.vt == VT_R4) {
        text << "R4 " << value.fltVal;
    } else if (value.vt == VT_UI4) {
        text << "UI4 " << value.ulVal;
    } else {
        text << "vt " << value.vt;
    }
    PropVariantClear(&value);
    return text.str();
}

std::wstring FriendlyName(ISensor* sensor) {
    BSTR name = nullptr;
    if (FAILED(sensor->GetFriendlyName(&name))) {
        EXPECT_EQ(name, nullptr);
        return L"<failed>";
    }
    std::wstring text = name;
    SysFreeString(name);
    return text;
}
