#pragma once

#include <windows.h>
#include <sensorsapi.h>

// The line that frames each section heading.
void PrintSeparator();

// Prints the section on every location sensor the manager knows: name, type,
// state, position data and map link. A null manager gives just the heading.
void PrintSensorReport(ISensorManager* manager);
