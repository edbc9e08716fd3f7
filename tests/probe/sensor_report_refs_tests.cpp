// skyprobe's sensor section gives back every reference it takes, whatever
// each sensor lets it read.
#include <gtest/gtest.h>

#include "fake_sensor_api.h"
#include "sensor_report.h"

namespace {

const GUID kFirstId = {0x3f2504e0, 0x4f89, 0x11d3, {0x9a, 0x0c, 0x03, 0x05, 0xe8, 0x2c, 0x33, 0x01}};
const GUID kSecondId = {0x3f2504e0, 0x4f89, 0x11d3, {0x9a, 0x0c, 0x03, 0x05, 0xe8, 0x2c, 0x33, 0x02}};

TEST(SkyprobeSensorReport, EverySensorAndReportIsReleasedOnEveryPath) {
    FakeSensorManager manager;
    FakeSensor withFix{kFirstId};
    withFix.report.SetDouble(SENSOR_DATA_TYPE_LATITUDE_DEGREES.pid, 35.0);
    withFix.report.SetDouble(SENSOR_DATA_TYPE_LONGITUDE_DEGREES.pid, 139.0);
    FakeSensor failing{kSecondId};
    failing.failName = true;
    failing.failState = true;
    manager.collection.sensors = {&withFix, &failing};

    PrintSensorReport(&manager);

    EXPECT_EQ(withFix.refs, 1);
    EXPECT_GT(withFix.report.releases, 0);  // its data was read
    EXPECT_EQ(withFix.report.refs, 1);
    EXPECT_EQ(failing.refs, 1);
    EXPECT_EQ(manager.collection.refs, 1);
    EXPECT_EQ(manager.refs, 1);
}

}  // namespace
