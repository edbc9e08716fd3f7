// BSTR functions of the POSIX stand-in. A BSTR points at the text, with its
// length in bytes stored in the four bytes before it, as on Windows.
#pragma once

#include <windows.h>

typedef OLECHAR* BSTR;

extern "C" {
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
}
