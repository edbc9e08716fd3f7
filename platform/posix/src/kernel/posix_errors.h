// Win32 error codes for failures of the underlying POSIX calls.
#pragma once

#include <windows.h>

// Codes the stand-in reports that application code never names itself.
constexpr DWORD kErrorModNotFound = 126;            // ERROR_MOD_NOT_FOUND
constexpr DWORD kErrorDiskFull = 112;               // ERROR_DISK_FULL
constexpr DWORD kErrorFileTooLarge = 223;           // ERROR_FILE_TOO_LARGE
constexpr DWORD kErrorInvalidFlags = 1004;          // ERROR_INVALID_FLAGS
constexpr DWORD kErrorNoUnicodeTranslation = 1113;  // ERROR_NO_UNICODE_TRANSLATION

DWORD Win32ErrorFromErrno(int error);
