#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <optional>

// A value of a sensor data report. It counts only when the report returns it
// with the expected variant type (VT_R8, VT_I4); `result`, when given,
// receives the read's own result either way.
std::optional<double> ReadReportDouble(ISensorDataReport* report, REFPROPERTYKEY key, HRESULT* result = nullptr);
std::optional<LONG> ReadReportInt(ISensorDataReport* report, REFPROPERTYKEY key, HRESULT* result = nullptr);
