#include <locationapi.h>
#include <sensors.h>
#include <sensorsapi.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "scenario_path.h"
#include "sim_test_support.h"

extern "C" HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object);
extern "C" HRESULT DllCanUnloadNow();

namespace {

// Objects made through the class objects, with SENSORSIM_SCENARIO set to the
// test's scenario file (or unset).
class ClassFactoryTest : public SimTest {
protected:
    void TearDown() override {
        ::unsetenv(kScenarioVariable);
        SimTest::TearDown();
    }

    void UseScenario(const std::string& text) {
        m_scenario.Write(text);
        ::setenv(kScenarioVariable, m_scenario.Path().c_str(), 1);
    }

    HRESULT Create(REFCLSID clsid, REFIID iid, void** object) {
        IClassFactory* factory = nullptr;
        HRESULT result = DllGetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        if (FAILED(result)) return result;
        result = factory->CreateInstance(nullptr, iid, object);
        EXPECT_EQ(factory->Release(), 0u);
        return result;
    }
};

TEST_F(ClassFactoryTest, UnknownClass_IsNotAvailable) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(DllGetClassObject(IID_ISensor, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ClassFactoryTest, ScenarioFromTheEnvironment_IsServed) {
    UseScenario(std::string("[sensor1]\nid=") + kFirstId + "\nlatitude=1\nlongitude=2\n");
    ISensorManager* manager = nullptr;
    ASSERT_EQ(Create(CLSID_SensorManager, IID_ISensorManager, reinterpret_cast<void**>(&manager)), S_OK);
    ISensor* sensor = nullptr;
    ASSERT_EQ(manager->GetSensorByID(TestGuid(kFirstId), &sensor), S_OK);
    sensor->Release();
    EXPECT_EQ(manager->Release(), 0u);

    ILocation* location = nullptr;
    ASSERT_EQ(Create(CLSID_Location, IID_ILocation, reinterpret_cast<void**>(&location)), S_OK);
    ILocationReport* report = nullptr;
    ASSERT_EQ(location->GetReport(IID_ILatLongReport, &report), S_OK);
    report->Release();
    EXPECT_EQ(location->Release(), 0u);
}

TEST_F(ClassFactoryTest, WithoutAScenario_ThereIsAManagerButNoLocationSensor) {
    ::unsetenv(kScenarioVariable);
    ISensorManager* manager = nullptr;
    ASSERT_EQ(Create(CLSID_SensorManager, IID_ISensorManager, reinterpret_cast<void**>(&manager)), S_OK);
    ISensorCollection* collection = nullptr;
    EXPECT_EQ(manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection),
              HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    manager->Release();

    ILocation* location = nullptr;
    ASSERT_EQ(Create(CLSID_Location, IID_ILocation, reinterpret_cast<void**>(&location)), S_OK);
    ILocationReport* report = nullptr;
    EXPECT_TRUE(FAILED(location->GetReport(IID_ILatLongReport, &report)));
    location->Release();
}

TEST_F(ClassFactoryTest, AbsentApis_CannotBeCreated) {
    UseScenario("[platform]\nsensor_api=absent\nlocation_api=absent\n");
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(Create(CLSID_SensorManager, IID_ISensorManager, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(Create(CLSID_Location, IID_ILocation, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ClassFactoryTest, BrokenScenarioAtStart_IsReportedAndServedEmpty) {
    UseScenario("[sensor1]\nname=no id\n");
    testing::internal::CaptureStderr();
    ISensorManager* manager = nullptr;
    ASSERT_EQ(Create(CLSID_SensorManager, IID_ISensorManager, reinterpret_cast<void**>(&manager)), S_OK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "sensorsim: " + m_scenario.Path() + ": [sensor1] has no id; keeping the previous scenario\n");
    ISensorCollection* collection = nullptr;
    EXPECT_TRUE(FAILED(manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection)));
    manager->Release();
}

TEST_F(ClassFactoryTest, WrongInterfaceOrAggregation_IsRefused) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(DllGetClassObject(CLSID_SensorManager, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(factory, IID_ISensorManager, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_ILocation, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    factory->Release();
}

TEST_F(ClassFactoryTest, ServerCanUnload_OnlyWithNoObjectAndNoLock) {
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(DllGetClassObject(CLSID_Location, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    factory->LockServer(TRUE);
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    ASSERT_EQ(DllGetClassObject(CLSID_Location, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST_F(ClassFactoryTest, CoCreateInstance_FindsTheSimulator) {
    UseScenario(std::string("[sensor1]\nid=") + kFirstId + "\n");
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ISensorManager* manager = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_SensorManager, nullptr, CLSCTX_ALL, IID_ISensorManager,
                               reinterpret_cast<void**>(&manager)),
              S_OK);
    ISensorCollection* collection = nullptr;
    ASSERT_EQ(manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &collection), S_OK);
    collection->Release();
    EXPECT_EQ(manager->Release(), 0u);
    ILocation* location = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_Location, nullptr, CLSCTX_INPROC_SERVER, IID_ILocation,
                               reinterpret_cast<void**>(&location)),
              S_OK);
    EXPECT_EQ(location->Release(), 0u);
    CoUninitialize();
}

}  // namespace
