#pragma once

// Name of a Sensor API state value; any value outside 0..4 is an error.
const char* SensorStateName(long state);
const wchar_t* SensorStateNameW(long state);
