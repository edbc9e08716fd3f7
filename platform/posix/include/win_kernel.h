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

// Events. A thread waits for them (with its messages) in
// MsgWaitForMultipleObjects; any thread may set them.
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Console control handlers: SIGINT arrives as CTRL_C_EVENT and SIGTERM as
// CTRL_CLOSE_EVENT, on a thread of their own, as Windows calls them. The
// handlers are asked last added first; when none returns TRUE the signal
// ends the process as it would have without a handler.
#define CTRL_C_EVENT 0
#define CTRL_BREAK_EVENT 1
#define CTRL_CLOSE_EVENT 2
typedef BOOL(WINAPI* PHANDLER_ROUTINE)(DWORD controlType);
BOOL SetConsoleCtrlHandler(PHANDLER_ROUTINE handler, BOOL add);

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

// Open files by handle: enough to keep a log file open and write it in place.
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
typedef union _LARGE_INTEGER {
    LONGLONG QuadPart;
} LARGE_INTEGER, *PLARGE_INTEGER;
HANDLE CreateFileW(LPCWSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPVOID overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPVOID overlapped);
BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER newPosition, DWORD method);
BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER size);
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);
BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES attributes);

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
