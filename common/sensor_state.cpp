#include "sensor_state.h"

namespace {

struct StateName {
    const char* narrow;
    const wchar_t* wide;
};

#define STATE_NAME(text) {text, L"" text}
constexpr StateName kNames[] = {
    STATE_NAME("SENSOR_STATE_READY"),        STATE_NAME("SENSOR_STATE_NOT_AVAILABLE"),
    STATE_NAME("SENSOR_STATE_NO_DATA"),      STATE_NAME("SENSOR_STATE_INITIALIZING"),
    STATE_NAME("SENSOR_STATE_ACCESS_DENIED"), STATE_NAME("SENSOR_STATE_ERROR"),
};
#undef STATE_NAME

const StateName& Lookup(long state) {
    return (state >= 0 && state <= 4) ? kNames[state] : kNames[5];
}

}  // namespace

const char* SensorStateName(long state) { return Lookup(state).narrow; }
const wchar_t* SensorStateNameW(long state) { return Lookup(state).wide; }
