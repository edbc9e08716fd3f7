// The least one published status needs: its tooltip formatted once and one
// line printed. Run under callgrind, it gives the floor of a status's cost.
#include <cstdio>
#include <cstdlib>

__attribute__((noinline)) void OneStatus(int i) {
    char tip[128];
    std::snprintf(tip, sizeof tip,
                  "Sensor name : %s\nSensor status : %s\nlatitude:%f\nlongitude:%f\nsatellites %d/%d",
                  "Bench Receiver", "SENSOR_STATE_READY", 35.0 + i / 1e6, 139.767125, 7, 11);
    std::printf("tray modify 128 icon=builtin:130 tip=%s\n", tip);
    std::fflush(stdout);
}

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    for (int i = 0; i < count; ++i) OneStatus(i);
}
