// The Location API interfaces, declared as in the Windows SDK (same names,
// method order and signatures).
#pragma once

#include <objbase.h>
#include <propidl.h>
#include <sensorsapi.h>

typedef enum LOCATION_REPORT_STATUS {
    REPORT_NOT_SUPPORTED = 0,
    REPORT_ERROR = 1,
    REPORT_ACCESS_DENIED = 2,
    REPORT_INITIALIZING = 3,
    REPORT_RUNNING = 4
} LOCATION_REPORT_STATUS;

struct ILocationEvents;

DEFINE_GUID(IID_ILocationReport, 0xc8b7f7ee, 0x75d0, 0x4db9, 0xb6, 0x2d, 0x7a, 0x0f, 0x36, 0x9c, 0xa4, 0x56);
struct ILocationReport : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSensorID(SENSOR_ID* pSensorID) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTimestamp(SYSTEMTIME* pCreationTime) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetValue(REFPROPERTYKEY pKey, PROPVARIANT* pValue) = 0;
};

DEFINE_GUID(IID_ICivicAddressReport, 0xc0b19f70, 0x4adf, 0x445d, 0x87, 0xf2, 0xca, 0xd8, 0xfd, 0x71, 0x17, 0x92);
struct ICivicAddressReport : public ILocationReport {
    virtual HRESULT STDMETHODCALLTYPE GetAddressLine1(BSTR* pbstrAddress1) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAddressLine2(BSTR* pbstrAddress2) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCity(BSTR* pbstrCity) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStateProvince(BSTR* pbstrStateProvince) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPostalCode(BSTR* pbstrPostalCode) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCountryRegion(BSTR* pbstrCountryRegion) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDetailLevel(DWORD* pDetailLevel) = 0;
};

DEFINE_GUID(IID_ILatLongReport, 0x7fed806d, 0x0ef8, 0x4f07, 0x80, 0xac, 0x36, 0xa0, 0xbe, 0xae, 0x31, 0x34);
struct ILatLongReport : public ILocationReport {
    virtual HRESULT STDMETHODCALLTYPE GetLatitude(DOUBLE* pLatitude) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLongitude(DOUBLE* pLongitude) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetErrorRadius(DOUBLE* pErrorRadius) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAltitude(DOUBLE* pAltitude) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAltitudeError(DOUBLE* pAltitudeError) = 0;
};

DEFINE_GUID(IID_ILocation, 0xab2ece69, 0x56d9, 0x4f28, 0xb5, 0x25, 0xde, 0x1b, 0x0e, 0xe4, 0x42, 0x37);
struct ILocation : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE RegisterForReport(ILocationEvents* pEvents, REFIID reportType,
                                                        DWORD dwRequestedReportInterval) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnregisterForReport(REFIID reportType) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReport(REFIID reportType, ILocationReport** ppLocationReport) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReportStatus(REFIID reportType, LOCATION_REPORT_STATUS* pStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReportInterval(REFIID reportType, DWORD* pMilliseconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetReportInterval(REFIID reportType, DWORD millisecondsRequested) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDesiredAccuracy(REFIID reportType,
                                                         LOCATION_DESIRED_ACCURACY* pDesiredAccuracy) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDesiredAccuracy(REFIID reportType,
                                                         LOCATION_DESIRED_ACCURACY desiredAccuracy) = 0;
    virtual HRESULT STDMETHODCALLTYPE RequestPermissions(HWND hParent, IID pReportTypes[], ULONG count,
                                                         WINBOOL fModal) = 0;
};

DEFINE_GUID(CLSID_Location, 0xe5b8e079, 0xee6d, 0x4e33, 0xa4, 0x38, 0xc8, 0x7f, 0x2e, 0x95, 0x92, 0x54);
