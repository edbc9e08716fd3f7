#include "settings.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "control_characters.h"
#include "module_path.h"
#include "text_cut.h"

namespace {

const char kDefaultSensorId[] = "{637d3e4b-20da-4318-b6fc-a100fd003a83}";
constexpr DWORD kValueBufferSize = 520;
const wchar_t kIconSection[] = L"icon";
const wchar_t kHardwareSection[] = L"hardware";
// The save is written into this copy beside the file, which then replaces it.
const wchar_t kSaveCopySuffix[] = L".new";

std::wstring Widen(const char* text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return {};
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    return wide.data();
}

// The value as 8-bit text, at most the 519 bytes the settings allow.
CString ReadString(const wchar_t* section, const wchar_t* key, const char* fallback, const std::wstring& path) {
    wchar_t value[kValueBufferSize] = {};
    ::GetPrivateProfileStringW(section, key, Widen(fallback).c_str(), value, kValueBufferSize, path.c_str());
    CString text(value);
    if (text.GetLength() < static_cast<int>(kValueBufferSize)) return text;
    return text.Left(static_cast<int>(WholeCharactersLength(text, kValueBufferSize - 1)));
}

int ReadInt(const wchar_t* section, const wchar_t* key, const std::wstring& path) {
    return static_cast<int>(::GetPrivateProfileIntW(section, key, 0, path.c_str()));
}

void WriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value, const std::wstring& path) {
    ::WritePrivateProfileStringW(section, key, value.c_str(), path.c_str());
}

void WriteString(const wchar_t* section, const wchar_t* key, const char* value, const std::wstring& path) {
    WriteString(section, key, Widen(value), path);
}

// A sensor name, from a driver or a gpsd, on one line of the file: every
// control character becomes '?'. Characters, not bytes: in an 8-bit code page
// 0x80-0x9F may be letters.
std::wstring OneLineName(const CString& name) {
    std::wstring wide = Widen(name);
    std::replace_if(wide.begin(), wide.end(), IsControlCharacter, L'?');
    return wide;
}

void WriteInt(const wchar_t* section, const wchar_t* key, int value, const std::wstring& path) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    WriteString(section, key, text, path);
}

GUID ParseSensorId(const CString& text) {
    GUID id{};
    // Text that is no GUID leaves the null id, which no sensor has.
    if (FAILED(::CLSIDFromString(Widen(text).c_str(), &id))) id = GUID{};
    return id;
}

// The executable's directory, the application name and ".ini". Wide and
// without a length limit, so any folder works.
std::wstring SettingsFilePath() {
    const std::wstring module = ModuleFileName();
    const size_t separator = module.find_last_of(L"\\/");
    const size_t directoryEnd = separator == std::wstring::npos ? 0 : separator + 1;
    return module.substr(0, directoryEnd) + Widen(AfxGetAppName()) + L".ini";
}

}  // namespace

void TraySettings::Load() {
    m_path = SettingsFilePath();
    const std::wstring& path = m_path;
    // A copy left by a save that was cut short never became the settings.
    ::DeleteFileW((path + kSaveCopySuffix).c_str());
    m_enableIconFile = ReadString(kIconSection, L"enable_icon", "", path);
    m_enableIconIndex = ReadInt(kIconSection, L"enable_icon_idx", path);
    m_disableIconFile = ReadString(kIconSection, L"disable_icon", "", path);
    m_disableIconIndex = ReadInt(kIconSection, L"disable_icon_idx", path);
    m_sensorIdText = ReadString(kHardwareSection, L"sensor_id", kDefaultSensorId, path);
    m_sensorId = ParseSensorId(m_sensorIdText);
}

void TraySettings::Write(const std::wstring& path) const {
    WriteString(kIconSection, L"enable_icon", m_enableIconFile, path);
    WriteInt(kIconSection, L"enable_icon_idx", m_enableIconIndex, path);
    WriteString(kIconSection, L"disable_icon", m_disableIconFile, path);
    WriteInt(kIconSection, L"disable_icon_idx", m_disableIconIndex, path);
    WriteString(kHardwareSection, L"sensor_id", m_sensorIdText, path);

    int number = 0;
    for (const auto& [id, entry] : m_catalog) {
        wchar_t key[40];
        std::swprintf(key, 40, L"location_sensor_list%d", ++number);
        WriteString(kHardwareSection, key, Widen(entry.idText + "\t\t;") + OneLineName(entry.name), path);
    }
}

// All or nothing: the settings go into a copy of the file, which then
// replaces it in one step, so a kill at any moment leaves the old file or
// the new one. A read-only file is left as it is.
void TraySettings::Save() {
    // Saved already at the end of the session: a second save could only
    // write a file without the catalog.
    if (m_saved) return;
    m_saved = true;

    m_path = SettingsFilePath();
    const std::wstring& path = m_path;
    const std::wstring copy = path + kSaveCopySuffix;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        m_catalog.clear();
        return;
    }
    ::DeleteFileW(copy.c_str());
    // Where no copy can be made beside the file (a read-only folder), the
    // file itself is written, as the private-profile functions would.
    const bool viaCopy = !exists || ::CopyFileW(path.c_str(), copy.c_str(), FALSE);
    Write(viaCopy ? copy : path);
    if (viaCopy && !::MoveFileExW(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ::DeleteFileW(copy.c_str());
    m_catalog.clear();
}

void TraySettings::RecordSensor(const GUID& id, const CString& name) {
    if (m_catalog.size() >= kMaxCatalogSensors && !IsTracked(id) && m_catalog.find(id) == m_catalog.end()) {
        if (!m_catalogFull)
            std::fprintf(stderr, "lodestar: more than %zu location sensors seen; the others are not listed\n",
                         kMaxCatalogSensors);
        m_catalogFull = true;
        return;
    }
    CatalogEntry& entry = m_catalog[id];
    // The id text never changes: converted once, when the sensor is new.
    if (entry.idText.IsEmpty()) {
        LPOLESTR idText = nullptr;
        if (SUCCEEDED(::StringFromCLSID(id, &idText))) entry.idText = CString(idText);
        ::CoTaskMemFree(idText);
    }
    entry.name = name;
}

CString TraySettings::CatalogName(const GUID& id) const {
    const auto known = m_catalog.find(id);
    return known == m_catalog.end() ? CString() : known->second.name;
}

bool TraySettings::IsTracked(const GUID& id) const { return std::memcmp(&id, &m_sensorId, sizeof(GUID)) == 0; }

const CString& TraySettings::IconFile(bool ready) const { return ready ? m_enableIconFile : m_disableIconFile; }

int TraySettings::IconIndex(bool ready) const { return ready ? m_enableIconIndex : m_disableIconIndex; }
