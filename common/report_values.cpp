#include "report_values.h"

namespace {

template <typename T>
std::optional<T> ReadValue(ISensorDataReport* report, REFPROPERTYKEY key, VARTYPE type, T PROPVARIANT::*field,
                           HRESULT* result) {
    PROPVARIANT variant;
    PropVariantInit(&variant);
    const HRESULT hr = report->GetSensorValue(key, &variant);
    std::optional<T> value;
    if (SUCCEEDED(hr) && variant.vt == type) value = variant.*field;
    PropVariantClear(&variant);
    if (result) *result = hr;
    return value;
}

}  // namespace

std::optional<double> ReadReportDouble(ISensorDataReport* report, REFPROPERTYKEY key, HRESULT* result) {
    return ReadValue(report, key, VT_R8, &PROPVARIANT::dblVal, result);
}

std::optional<LONG> ReadReportInt(ISensorDataReport* report, REFPROPERTYKEY key, HRESULT* result) {
    return ReadValue(report, key, VT_I4, &PROPVARIANT::lVal, result);
}
