#include <locationapi.h>
#include <sensors.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "sim_class_factory.h"
#include "sim_test_support.h"

namespace {

// A coarse ready sensor first, then a precise one, then one without a fix.
const std::string kThreeSensors = std::string("[sensor1]\nid=") + kFirstId +
                                  "\nstate=3\nlatitude=1\nlongitude=1\n"
                                  "[sensor2]\nid=" +
                                  kSecondId +
                                  "\nlatitude=35.5\nlongitude=139.75\n"
                                  "altitude=40\nerror_radius=150\n"
                                  "[sensor3]\nid=" +
                                  kThirdId + "\nlatitude=36.5\nlongitude=140.25\n";

class LocationTest : public SimTest {
protected:
    ILocation* Location(const std::string& text) {
        m_scenario.Write(text);
        ILocation* location = nullptr;
        EXPECT_EQ(CreateSimLocation(m_scenario.Path(), IID_ILocation, reinterpret_cast<void**>(&location)), S_OK);
        return location;
    }

    // "sensor 22222222 at 35.5,139.75" or the failure code.
    std::string Report(ILocation* location, LOCATION_DESIRED_ACCURACY accuracy) {
        EXPECT_EQ(location->SetDesiredAccuracy(IID_ILatLongReport, accuracy), S_OK);
        ILocationReport* report = nullptr;
        const HRESULT result = location->GetReport(IID_ILatLongReport, &report);
        if (FAILED(result)) {
            EXPECT_EQ(report, nullptr);
            char text[16];
            std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(result));
            return text;
        }
        ILatLongReport* latLong = nullptr;
        EXPECT_EQ(report->QueryInterface(IID_ILatLongReport, reinterpret_cast<void**>(&latLong)), S_OK);
        SENSOR_ID id{};
        DOUBLE latitude = 0;
        DOUBLE longitude = 0;
        EXPECT_EQ(latLong->GetSensorID(&id), S_OK);
        EXPECT_EQ(latLong->GetLatitude(&latitude), S_OK);
        EXPECT_EQ(latLong->GetLongitude(&longitude), S_OK);
        EXPECT_EQ(latLong->Release(), 1u);
        EXPECT_EQ(report->Release(), 0u);
        std::ostringstream text;
        text << "sensor " << ShortId(id) << " at " << latitude << "," << longitude;
        return text.str();
    }
};

TEST_F(LocationTest, DefaultChoice_IsTheFirstReadySensorWithAPosition_AtBothAccuracies) {
    ILocation* location = Location(kThreeSensors);
    LOCATION_REPORT_STATUS status = REPORT_NOT_SUPPORTED;
    ASSERT_EQ(location->GetReportStatus(IID_ILatLongReport, &status), S_OK);
    EXPECT_EQ(status, REPORT_RUNNING);
    IID types[] = {IID_ILatLongReport, IID_ICivicAddressReport};
    EXPECT_EQ(location->RequestPermissions(nullptr, types, 2, TRUE), S_OK);

    ILocationReport* report = nullptr;
    ASSERT_EQ(location->GetReport(IID_ILatLongReport, &report), S_OK) << "default accuracy before any is set";
    report->Release();
    EXPECT_EQ(Report(location, LOCATION_DESIRED_ACCURACY_DEFAULT), "sensor 22222222 at 35.5,139.75");
    EXPECT_EQ(Report(location, LOCATION_DESIRED_ACCURACY_HIGH), "sensor 22222222 at 35.5,139.75");
    EXPECT_EQ(location->Release(), 0u);
}

TEST_F(LocationTest, NamedSensors_ServeEachAccuracy) {
    ILocation* location = Location(kThreeSensors + "[location]\ndefault=sensor3\nhigh=sensor1\n");
    EXPECT_EQ(Report(location, LOCATION_DESIRED_ACCURACY_HIGH), "sensor 11111111 at 1,1");
    EXPECT_EQ(Report(location, LOCATION_DESIRED_ACCURACY_DEFAULT), "sensor 33333333 at 36.5,140.25");
    LOCATION_DESIRED_ACCURACY accuracy = LOCATION_DESIRED_ACCURACY_HIGH;
    ASSERT_EQ(location->GetDesiredAccuracy(IID_ILatLongReport, &accuracy), S_OK);
    EXPECT_EQ(accuracy, LOCATION_DESIRED_ACCURACY_DEFAULT);
    location->Release();
}

TEST_F(LocationTest, NoneAtOneAccuracy_FailsOnlyThatOne) {
    ILocation* location = Location(kThreeSensors + "[location]\nhigh=none\n");
    EXPECT_EQ(Report(location, LOCATION_DESIRED_ACCURACY_DEFAULT), "sensor 22222222 at 35.5,139.75");
    EXPECT_EQ(Report(location, LOCATION_DESIRED_ACCURACY_HIGH), "0x800700E8");
    location->Release();
}

TEST_F(LocationTest, NoSensorWithAFix_SupportedButNoReport) {
    ILocation* location = Location(std::string("[sensor1]\nid=") + kFirstId + "\nstate=3\n");
    LOCATION_REPORT_STATUS status = REPORT_NOT_SUPPORTED;
    location->GetReportStatus(IID_ILatLongReport, &status);
    EXPECT_EQ(status, REPORT_RUNNING);
    EXPECT_EQ(Report(location, LOCATION_DESIRED_ACCURACY_DEFAULT), "0x800700E8");
    EXPECT_EQ(Report(location, LOCATION_DESIRED_ACCURACY_HIGH), "0x800700E8");
    location->Release();
}

TEST_F(LocationTest, UnsupportedLatLongReport) {
    ILocation* location = Location(kThreeSensors + "[platform]\nlatlong_report=unsupported\n");
    LOCATION_REPORT_STATUS status = REPORT_RUNNING;
    ASSERT_EQ(location->GetReportStatus(IID_ILatLongReport, &status), S_OK);
    EXPECT_EQ(status, REPORT_NOT_SUPPORTED);
    EXPECT_TRUE(FAILED(location->SetDesiredAccuracy(IID_ILatLongReport, LOCATION_DESIRED_ACCURACY(2))));
    EXPECT_EQ(Report(location, LOCATION_DESIRED_ACCURACY_DEFAULT), "0x80070032");
    location->Release();
}

TEST_F(LocationTest, LatLongReport_OffersTheOtherValuesOfItsSensor) {
    ILocation* location = Location(kThreeSensors);
    ILocationReport* report = nullptr;
    ASSERT_EQ(location->GetReport(IID_ILatLongReport, &report), S_OK);
    ILatLongReport* latLong = nullptr;
    ASSERT_EQ(report->QueryInterface(IID_ILatLongReport, reinterpret_cast<void**>(&latLong)), S_OK);
    DOUBLE value = 0;
    EXPECT_EQ(latLong->GetAltitude(&value), S_OK);
    EXPECT_EQ(value, 40.0);
    EXPECT_EQ(latLong->GetErrorRadius(&value), S_OK);
    EXPECT_EQ(value, 150.0);
    EXPECT_TRUE(FAILED(latLong->GetAltitudeError(&value)));
    PROPVARIANT variant;
    PropVariantInit(&variant);
    ASSERT_EQ(latLong->GetValue(SENSOR_DATA_TYPE_LATITUDE_DEGREES, &variant), S_OK);
    EXPECT_EQ(variant.vt, VT_R8);
    EXPECT_EQ(variant.dblVal, 35.5);
    EXPECT_TRUE(FAILED(latLong->GetValue(SENSOR_DATA_TYPE_SATELLITES_USED_COUNT, &variant)));
    void* civic = reinterpret_cast<void*>(1);
    EXPECT_EQ(report->QueryInterface(IID_ICivicAddressReport, &civic), E_NOINTERFACE);
    EXPECT_EQ(civic, nullptr);
    latLong->Release();
    report->Release();
    location->Release();
}

TEST_F(LocationTest, CivicReport_GivesTheFieldsAndEmptyStringsForTheOthers) {
    ILocation* location = Location(kThreeSensors + "[location]\ncity=Chiyoda\npostal_code=100-0005\n");
    ILocationReport* report = nullptr;
    ASSERT_EQ(location->GetReport(IID_ICivicAddressReport, &report), S_OK);
    ICivicAddressReport* civic = nullptr;
    ASSERT_EQ(report->QueryInterface(IID_ICivicAddressReport, reinterpret_cast<void**>(&civic)), S_OK);

    auto text = [civic](HRESULT (STDMETHODCALLTYPE ICivicAddressReport::*read)(BSTR*)) {
        BSTR value = nullptr;
        EXPECT_EQ((civic->*read)(&value), S_OK);
        std::wstring copy = value != nullptr ? value : L"<null>";
        SysFreeString(value);
        return copy;
    };
    EXPECT_EQ(text(&ICivicAddressReport::GetCity), L"Chiyoda");
    EXPECT_EQ(text(&ICivicAddressReport::GetPostalCode), L"100-0005");
    EXPECT_EQ(text(&ICivicAddressReport::GetStateProvince), L"");
    EXPECT_EQ(text(&ICivicAddressReport::GetAddressLine1), L"");
    EXPECT_EQ(text(&ICivicAddressReport::GetAddressLine2), L"");
    SENSOR_ID id{};
    ASSERT_EQ(civic->GetSensorID(&id), S_OK);
    EXPECT_EQ(ShortId(id), "22222222");
    civic->Release();
    EXPECT_EQ(report->Release(), 0u);
    location->Release();
}

TEST_F(LocationTest, NoCivicFields_NoCivicReport) {
    ILocation* location = Location(kThreeSensors);
    ILocationReport* report = reinterpret_cast<ILocationReport*>(1);
    EXPECT_TRUE(FAILED(location->GetReport(IID_ICivicAddressReport, &report)));
    EXPECT_EQ(report, nullptr);
    EXPECT_EQ(location->GetReport(IID_ILocation, &report), E_INVALIDARG);
    location->Release();
}

TEST_F(LocationTest, TheScenarioIsTheOneAtCreation) {
    ILocation* location = Location(kThreeSensors);
    m_scenario.Write("");
    EXPECT_EQ(Report(location, LOCATION_DESIRED_ACCURACY_DEFAULT), "sensor 22222222 at 35.5,139.75");
    location->Release();
}

}  // namespace
