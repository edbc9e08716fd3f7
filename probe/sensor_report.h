#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <vector>

#include "sensor_reading.h"

// Prints the section on these location sensors: name, type, state, position
// data and map link of each.
void PrintSensorSection(const std::vector<SensorReading>& sensors);

// Reads every location sensor the manager knows and prints the section. A
// null manager gives just the heading.
void PrintSensorReport(ISensorManager* manager);
