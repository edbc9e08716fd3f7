// PROPVARIANT and PROPERTYKEY, as far as this project uses them.
#pragma once

#include <windows.h>
#include "oleauto.h"

typedef unsigned short VARTYPE;

enum VARENUM {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_BOOL = 11,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_LPSTR = 30,
    VT_LPWSTR = 31,
    VT_CLSID = 72,
};

typedef struct tagPROPVARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        CHAR cVal;
        BYTE bVal;
        SHORT iVal;
        USHORT uiVal;
        LONG lVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
        LONGLONG hVal;
        ULONGLONG uhVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        BSTR bstrVal;
        LPSTR pszVal;
        LPWSTR pwszVal;
        CLSID* puuid;
    };
} PROPVARIANT, *LPPROPVARIANT;
typedef const PROPVARIANT& REFPROPVARIANT;

typedef struct _tagpropertykey {
    GUID fmtid;
    DWORD pid;
} PROPERTYKEY;
typedef const PROPERTYKEY& REFPROPERTYKEY;

inline bool IsEqualPropertyKey(REFPROPERTYKEY a, REFPROPERTYKEY b) {
    return a.pid == b.pid && IsEqualGUID(a.fmtid, b.fmtid);
}

// Declares a property key; <initguid.h> turns later uses into definitions.
#define DEFINE_PROPERTYKEY(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8, pid) \
    extern "C" const PROPERTYKEY name

inline void PropVariantInit(PROPVARIANT* value) {
    *value = PROPVARIANT{};
}

extern "C" {
// Frees what the variant owns (VT_BSTR, VT_LPSTR, VT_LPWSTR, VT_CLSID) and
// resets it to VT_EMPTY.
HRESULT PropVariantClear(PROPVARIANT* value);
}
