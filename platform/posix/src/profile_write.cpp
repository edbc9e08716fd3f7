// WritePrivateProfileStringA: sets, adds or deletes one key, or deletes a
// section, leaving the rest of the file byte for byte as it was.
#include <windows.h>

#include <cerrno>
#include <mutex>
#include <string>

#include "posix_errors.h"
#include "profile_cache.h"
#include "profile_document.h"
#include "profile_file.h"

namespace {

// Writes of this process to the same file must not lose each other's change.
std::mutex writeLock;

BOOL FailWithErrno() {
    const int error = errno;
    SetLastError(error == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(error));
    return FALSE;
}

}  // namespace

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    // All three null asks Windows to flush its cache; there is none here.
    if (!section && !key && !value) return TRUE;
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!*fileName) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!section) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }

    std::lock_guard<std::mutex> guard(writeLock);
    std::string text;
    bool exists = false;
    if (!ReadProfileFile(fileName, text, exists)) return FailWithErrno();

    ProfileDocument document(std::move(text));
    bool changed = false;
    if (!key)
        changed = document.DeleteSection(section);
    else if (!value)
        changed = document.DeleteKey(section, key);
    else
        changed = document.SetValue(section, key, value);

    if (!changed) return TRUE;
    const bool written = ReplaceProfileFile(fileName, document.Text());
    ForgetProfile(fileName);
    return written ? TRUE : FailWithErrno();
}
