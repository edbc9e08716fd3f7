#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "module_objects.h"

// Sensor ids of the test scenarios; the first eight hex digits tell them apart
// in event logs.
inline constexpr char kFirstId[] = "{11111111-2222-3333-4444-555555555555}";
inline constexpr char kSecondId[] = "{22222222-2222-3333-4444-555555555555}";
inline constexpr char kThirdId[] = "{33333333-2222-3333-4444-555555555555}";

GUID TestGuid(const char* text);
// "11111111" for kFirstId: how the event logs name a sensor.
std::string ShortId(const GUID& id);

// A scenario file of its own per test, removed at the end. Each write moves
// the modification time a second on, so every edit is seen as a change.
class TempScenario {
public:
    TempScenario();
    ~TempScenario();
    TempScenario(const TempScenario&) = delete;
    TempScenario& operator=(const TempScenario&) = delete;

    void Write(const std::string& text);
    void Remove();
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::filesystem::file_time_type m_stamp;
};

// Checks that every simulator object a test made is gone at its end.
class SimTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(LiveModuleObjects(), 0); }
    void TearDown() override { EXPECT_EQ(LiveModuleObjects(), 0) << "simulator objects still alive"; }

    TempScenario m_scenario;
};

// Event sinks that write what they are told into a shared log, e.g.
// "enter 11111111 state 0", "state 11111111 3", "data 11111111 35.5",
// "leave 11111111". They count their own references.
class RecordingManagerSink final : public ISensorManagerEvents {
public:
    explicit RecordingManagerSink(std::vector<std::string>* log) : m_log(log) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override { return --m_references; }
    STDMETHODIMP OnSensorEnter(ISensor* sensor, SensorState state) override;

    ULONG m_references = 1;
    std::vector<ISensor*> m_entered;  // not referenced

private:
    std::vector<std::string>* m_log;
};

class RecordingSensorSink final : public ISensorEvents {
public:
    explicit RecordingSensorSink(std::vector<std::string>* log) : m_log(log) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override { return --m_references; }
    STDMETHODIMP OnStateChanged(ISensor* sensor, SensorState state) override;
    STDMETHODIMP OnDataUpdated(ISensor* sensor, ISensorDataReport* report) override;
    STDMETHODIMP OnEvent(ISensor* sensor, REFGUID event, IPortableDeviceValues* values) override;
    STDMETHODIMP OnLeave(REFSENSOR_ID id) override;

    ULONG m_references = 1;

private:
    std::vector<std::string>* m_log;
};

// A value of a data report as text: "R8 35.5", "I4 7", "R4 1.5", "UI4 7", or
// "missing" when the read fails.
std::string ReportValue(ISensorDataReport* report, const PROPERTYKEY& key);
// The friendly name, or "<failed>".
std::wstring FriendlyName(ISensor* sensor);
