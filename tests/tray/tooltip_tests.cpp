#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "tray_tooltip.h"

namespace {

CString Tooltip(const char* name, long state, double latitude, double longitude, int satellitesUsed,
                int satellitesInView) {
    return BuildTrayTooltip({name, state, latitude, longitude, satellitesUsed, satellitesInView, {}});
}

TEST(TrayTooltip, ReadyWithFix_ShowsFiveLines) {
    EXPECT_STREQ(Tooltip("GPS", 0, 35.0, 139.0, 7, 11),
                 "Sensor name : GPS\nSensor status : SENSOR_STATE_READY\nlatitude:35.000000\n"
                 "longitude:139.000000\nsatellites 7/11");
}

TEST(TrayTooltip, NoPosition_ShowsNameAndStateOnly) {
    EXPECT_STREQ(Tooltip("GPS", 0, 0.0, 139.0, 7, 11),
                 "Sensor name : GPS\nSensor status : SENSOR_STATE_READY");
    EXPECT_STREQ(Tooltip("GPS", 3, 35.0, 0.0, 0, 0),
                 "Sensor name : GPS\nSensor status : SENSOR_STATE_INITIALIZING");
}

TEST(TrayTooltip, NanCountsAsAPosition) {
    const CString tip = Tooltip("GPS", 0, std::nan(""), 1.0, 0, 0);
    EXPECT_NE(std::string(tip).find("latitude:"), std::string::npos);
}

TEST(TrayTooltip, StateNames_UnknownValuesAreErrors) {
    EXPECT_STREQ(Tooltip("G", 1, 0, 0, 0, 0), "Sensor name : G\nSensor status : SENSOR_STATE_NOT_AVAILABLE");
    EXPECT_STREQ(Tooltip("G", 2, 0, 0, 0, 0), "Sensor name : G\nSensor status : SENSOR_STATE_NO_DATA");
    EXPECT_STREQ(Tooltip("G", 4, 0, 0, 0, 0), "Sensor name : G\nSensor status : SENSOR_STATE_ACCESS_DENIED");
    EXPECT_STREQ(Tooltip("G", 9, 0, 0, 0, 0), "Sensor name : G\nSensor status : SENSOR_STATE_ERROR");
    EXPECT_STREQ(Tooltip("G", -1, 0, 0, 0, 0), "Sensor name : G\nSensor status : SENSOR_STATE_ERROR");
}

TEST(TrayTooltip, LongName_IsFormattedWhole) {
    const std::string name(300, 'N');
    EXPECT_EQ(std::string(Tooltip(name.c_str(), 0, 35.0, 139.0, 7, 11)),
              "Sensor name : " + name + "\nSensor status : SENSOR_STATE_READY\nlatitude:35.000000\n"
              "longitude:139.000000\nsatellites 7/11");
}

TEST(TrayTooltip, EmptyName_IsSensorNotFound) {
    EXPECT_STREQ(Tooltip("", 0, 35.0, 139.0, 7, 11), "Sensor not found!");
}

// What the tray shows of a tooltip: at most 127 bytes, whole lines where
// one fits, never half a character.
TEST(TrayTooltip, CopiedIntoTheTrayRecord_IsCutBetweenLinesAndCharacters) {
    const std::string twoByteName = [] {
        std::string name;
        for (int i = 0; i < 70; ++i) name += "\xC3\xA9";  // é
        return name;
    }();
    struct Case {
        std::string name;
        long state;
        double longitude;
        std::string shown;
    } cases[] = {
        {"GPS", 0, 139.0, "Sensor name : GPS\nSensor status : SENSOR_STATE_READY\nlatitude:35.000000\n"
                          "longitude:139.000000\nsatellites 7/11"},
        // 128 bytes: the satellites line goes whole, with its line feed.
        {std::string(22, 'N'), 0, -139.767125, "Sensor name : " + std::string(22, 'N') +
                                                   "\nSensor status : SENSOR_STATE_READY\nlatitude:35.000000\n"
                                                   "longitude:-139.767125"},
        {std::string(20, 'N'), 3, 139.0, "Sensor name : " + std::string(20, 'N') +
                                             "\nSensor status : SENSOR_STATE_INITIALIZING\nlatitude:35.000000\n"
                                             "longitude:139.000000"},
        // One line longer than the field: cut before the character that would not fit.
        {twoByteName, 0, 139.0, "Sensor name : " + twoByteName.substr(0, 112)},
    };
    for (const Case& c : cases) {
        CHAR field[128];
        std::memset(field, 'x', sizeof field);
        CopyTrayTip(field, Tooltip(c.name.c_str(), c.state, 35.0, c.longitude, 7, 11));
        EXPECT_EQ(std::string(field), c.shown) << c.name;
    }
}

}  // namespace
