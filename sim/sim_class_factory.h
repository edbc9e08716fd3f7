#pragma once

#include <windows.h>

#include <string>

// The simulator's objects, reading the scenario at `scenarioPath` ("" for
// none). Each fails with REGDB_E_CLASSNOTREG, as on a machine without the
// API, when the scenario says its API is absent.
HRESULT CreateSimSensorManager(const std::string& scenarioPath, REFIID iid, void** object);
HRESULT CreateSimLocation(const std::string& scenarioPath, REFIID iid, void** object);

// The class object for CLSID_SensorManager or CLSID_Location. The objects it
// creates read the scenario file named by SENSORSIM_SCENARIO.
HRESULT GetSimClassObject(REFCLSID clsid, REFIID iid, void** object);
