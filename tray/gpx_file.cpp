#include "gpx_file.h"

#include <cstring>

namespace {

// How much of the end of an existing file is searched for its closing tag.
constexpr DWORD kEndSearchBytes = 4096;
// A new file is written under this suffix, then renamed.
const wchar_t kNewSuffix[] = L".new";

LogFault SystemFault(DWORD error, const std::wstring& path) { return {LogFault::SystemError, error, path}; }

// The folder's own separator joins it to the name.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    const size_t last = folder.find_last_of(L"\\/");
    const wchar_t separator = last == std::wstring::npos ? L'\\' : folder[last];
    if (!folder.empty() && last == folder.size() - 1) return folder + name;
    return folder + separator + name;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

}  // namespace

std::optional<LogFault> GpxFile::Append(const std::wstring& folder, const std::wstring& name,
                                        const std::string& point, bool newSegment, const std::string& trackName) {
    const std::wstring path = JoinPath(folder, name);
    if (path != m_path) {
        Close();
        if (auto fault = Open(folder, path)) return fault;
    }

    std::string text;
    if (!m_trackOpen)
        text = (m_new ? GpxHeader() : std::string()) + GpxTrackStart(trackName);
    else if (newSegment)
        text = GpxSegmentBreak();
    text += point;
    const LONGLONG pointEnd = m_tailAt + static_cast<LONGLONG>(text.size());
    text += kGpxTail;
    auto fault = m_new ? Create(text) : WriteAt(m_tailAt, text, m_trackOpen ? std::string(kGpxTail) : m_end);
    if (fault) {
        Close();
        return fault;
    }
    m_tailAt = pointEnd;
    m_trackOpen = true;
    return std::nullopt;
}

void GpxFile::Close() {
    if (m_file != INVALID_HANDLE_VALUE) ::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    m_path.clear();
    m_trackOpen = false;
}

// An existing file gets the new track before its closing tag, which must end
// it; a missing or empty one is made anew.
std::optional<LogFault> GpxFile::Open(const std::wstring& folder, const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return SystemFault(::GetLastError(), folder);
    } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return LogFault{LogFault::NotAFolder, 0, folder};
    }
    // Left by a run that ended while making the file.
    ::DeleteFileW((path + kNewSuffix).c_str());

    m_path = path;
    m_tailAt = 0;
    m_end.clear();
    m_file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size{};
    if (m_file == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_NOT_FOUND) {
        m_new = true;
        return std::nullopt;
    }
    if (m_file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(m_file, &size)) {
        const DWORD error = ::GetLastError();
        Close();
        return SystemFault(error, path);
    }
    m_new = size.QuadPart == 0;
    if (m_new) {
        ::CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        return std::nullopt;
    }

    const DWORD searched = size.QuadPart < kEndSearchBytes ? static_cast<DWORD>(size.QuadPart) : kEndSearchBytes;
    std::string end(searched, '\0');
    LARGE_INTEGER at{};
    at.QuadPart = size.QuadPart - searched;
    DWORD read = 0;
    if (!::SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) || !::ReadFile(m_file, end.data(), searched, &read, nullptr) ||
        read != searched) {
        const DWORD error = ::GetLastError();
        Close();
        return SystemFault(error, path);
    }
    const size_t closing = end.rfind(kGpxEnd);
    if (closing == std::string::npos || !IsBlank(end.substr(closing + std::strlen(kGpxEnd)))) {
        Close();
        return LogFault{LogFault::NotAGpxFile, 0, path};
    }
    m_tailAt = at.QuadPart + static_cast<LONGLONG>(closing);
    m_end = end.substr(closing);
    return std::nullopt;
}

std::optional<LogFault> GpxFile::Create(const std::string& text) {
    const std::wstring copy = m_path + kNewSuffix;
    HANDLE file = ::CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SystemFault(::GetLastError(), m_path);
    DWORD written = 0;
    const bool whole = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                       written == text.size() && ::FlushFileBuffers(file);
    DWORD error = whole ? ERROR_SUCCESS : ::GetLastError();
    ::CloseHandle(file);
    if (whole && !::MoveFileExW(copy.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = ::GetLastError();
    if (!whole || error != ERROR_SUCCESS) {
        ::DeleteFileW(copy.c_str());
        return SystemFault(error == ERROR_SUCCESS ? ERROR_DISK_FULL : error, m_path);
    }
    m_file = ::CreateFileW(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) return SystemFault(::GetLastError(), m_path);
    m_new = false;
    return std::nullopt;
}

std::optional<LogFault> GpxFile::WriteAt(LONGLONG offset, const std::string& text, const std::string& restore) {
    LARGE_INTEGER at{};
    at.QuadPart = offset;
    DWORD written = 0;
    if (::SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) &&
        ::WriteFile(m_file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size()) {
        ::FlushFileBuffers(m_file);
        return std::nullopt;
    }
    // A short write (a full disk) has cut into the file: what was there goes
    // back, which needs no new room.
    const DWORD error = written < text.size() && ::GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL : ::GetLastError();
    DWORD restored = 0;
    if (::SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) &&
        ::WriteFile(m_file, restore.data(), static_cast<DWORD>(restore.size()), &restored, nullptr))
        ::SetEndOfFile(m_file);
    return SystemFault(error, m_path);
}
