// WritePrivateProfileStringA: sets, adds or deletes one key, or deletes a
// section, leaving the rest of the file byte for byte as it was.
#include <windows.h>

#include <cerrno>
#include <mutex>
#include <string>

#include "kernel/posix_errors.h"
#include "kernel/whole_file.h"
#include "profile_cache.h"
#include "profile_document.h"
#include "profile_path.h"

namespace {

// Writes of this process to the same file must not lose each other's change.
std::mutex writeLock;

BOOL FailWithErrno() {
    const int error = errno;
    SetLastError(error == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(error));
    return FALSE;
}

}  // namespace

// Differs from Windows: writes a new file and renames it over the old one, not in place.
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    // All three null asks Windows to flush its cache; there is none here.
    if (!section && !key && !value) return TRUE;
    if (fileName && !*fileName) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!section) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }

    const std::string path = ProfilePath(fileName);
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(writeLock);
    std::string text;
    bool exists = false;
    if (!ReadWholeFile(path.c_str(), text, exists)) return FailWithErrno();

    ProfileDocument document(std::move(text));
    bool changed = false;
    if (!key)
        changed = document.DeleteSection(section);
    else if (!value)
        changed = document.DeleteKey(section, key);
    else
        changed = document.SetValue(section, key, value);

    // A delete from a missing file leaves an empty file, as on Windows.
    if (!changed && exists) return TRUE;
    ProfilePath(fileName, true);  // makes the Windows directory a bare name needs
    const bool written = ReplaceWholeFile(path.c_str(), document.Text());
    ForgetProfile(path.c_str());
    return written ? TRUE : FailWithErrno();
}
