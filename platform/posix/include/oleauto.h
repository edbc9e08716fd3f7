// BSTR functions of the POSIX stand-in. A BSTR points at the text, with its
// length in bytes stored in the four bytes before it, as on Windows.
#pragma once

// Declared before <windows.h>, which reaches this header again through
// propidl.h and needs the type there.
typedef wchar_t* BSTR;

#include <windows.h>

extern "C" {
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
}
