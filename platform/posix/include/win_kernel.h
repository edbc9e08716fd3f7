// Kernel functions of the POSIX stand-in (included by windows.h).
#pragma once

extern "C" {

DWORD GetLastError();
void SetLastError(DWORD error);
void Sleep(DWORD milliseconds);
DWORD GetTickCount();

// Named mutex: only the existence test across processes is provided. The
// name is held by a lock file under $XDG_RUNTIME_DIR (or /tmp) that the
// system frees when the owning process ends, however it ends.
HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
BOOL CloseHandle(HANDLE handle);

// The executable's path from /proc/self/exe; module handles other than
// null are not supported.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
HMODULE GetModuleHandleA(LPCSTR moduleName);
// The module holding an address (flag FROM_ADDRESS) or named; here every
// address is the executable's, which is never unloaded, so PIN changes nothing.
#define GET_MODULE_HANDLE_EX_FLAG_PIN 0x00000001
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x00000002
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004
BOOL GetModuleHandleExW(DWORD flags, LPCWSTR moduleName, HMODULE* module);

// Private-profile (ini) files, with the semantics Windows gives them.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue,
                               LPSTR returned, DWORD size, LPCSTR fileName);
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName);
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);
// The wide forms take wide names and text and keep the file's 8-bit text,
// as Windows does for a file that is not UTF-16.
DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue,
                               LPWSTR returned, DWORD size, LPCWSTR fileName);
UINT GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR fileName);
BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR fileName);

// Files by wide name. A symbolic link at the destination of MoveFileExW or
// CopyFileW stays a link: the file it names is replaced.
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_WRITE_THROUGH 0x00000008
DWORD GetFileAttributesW(LPCWSTR fileName);
BOOL CopyFileW(LPCWSTR existing, LPCWSTR newFile, BOOL failIfExists);
BOOL MoveFileExW(LPCWSTR existing, LPCWSTR newFile, DWORD flags);
BOOL DeleteFileW(LPCWSTR fileName);

// The next character of 8-bit text in the ANSI code page (UTF-8 here).
LPSTR CharNextA(LPCSTR text);

// Code pages: CP_ACP and CP_UTF8 both mean UTF-8 here.
#define CP_ACP 0
#define CP_UTF8 65001
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount,
                        LPWSTR wide, int wideCount);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                        int multiByteCount, LPCSTR defaultChar, BOOL* usedDefaultChar);

// The entry point of a GUI program; the native build's main() calls it.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

}  // extern "C"
