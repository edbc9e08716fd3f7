// Win32 error codes of the user-interface functions that windows.h of the
// stand-in does not define.
#pragma once

#include <windows.h>

namespace desktop {

inline constexpr DWORD kErrorInvalidWindowHandle = 1400;
inline constexpr DWORD kErrorInvalidMenuHandle = 1401;
inline constexpr DWORD kErrorInvalidIndex = 1413;
inline constexpr DWORD kErrorInvalidIconHandle = 1414;
inline constexpr DWORD kErrorPopupAlreadyActive = 1446;
inline constexpr DWORD kErrorResourceNameNotFound = 1814;

}  // namespace desktop
