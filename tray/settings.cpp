// The settings file beside the executable and the sensor catalog written into it.
#include <cstdio>
#include <vector>

#include "sensor_dlg.h"
#include "sensor_events.h"
#include "tray_constants.h"

const char kDefaultSensorId[] = "{637d3e4b-20da-4318-b6fc-a100fd003a83}";

namespace {

constexpr DWORD kValueBufferSize = 520;
const char kIconSection[] = "icon";
const char kHardwareSection[] = "hardware";

CString ReadString(const char* section, const char* key, const char* fallback, const char* path) {
    char value[kValueBufferSize] = {};
    ::GetPrivateProfileStringA(section, key, fallback, value, kValueBufferSize, path);
    return CString(value);
}

GUID ParseSensorId(const CString& text) {
    GUID id{};
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return id;
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    // Text that is no GUID leaves the null id, which no sensor has.
    if (FAILED(::CLSIDFromString(wide.data(), &id))) id = GUID{};
    return id;
}

void WriteInt(const char* section, const char* key, int value, const char* path) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    ::WritePrivateProfileStringA(section, key, text, path);
}

}  // namespace

// The executable's directory, the application name and ".ini".
CString CSensorDlg::SettingsFilePath() {
    char module[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    CString path(module);
    int directoryEnd = 0;
    for (int i = 0; module[i]; ++i)
        if (module[i] == '\\' || module[i] == '/') directoryEnd = i + 1;
    return path.Left(directoryEnd) + AfxGetAppName() + ".ini";
}

void CSensorDlg::LoadSettings() {
    m_settingsPath = SettingsFilePath();
    const char* path = m_settingsPath;
    m_enableIconFile = ReadString(kIconSection, "enable_icon", "", path);
    m_enableIconIndex = static_cast<int>(::GetPrivateProfileIntA(kIconSection, "enable_icon_idx", 0, path));
    m_disableIconFile = ReadString(kIconSection, "disable_icon", "", path);
    m_disableIconIndex = static_cast<int>(::GetPrivateProfileIntA(kIconSection, "disable_icon_idx", 0, path));
    m_sensorIdText = ReadString(kHardwareSection, "sensor_id", kDefaultSensorId, path);
    m_sensorId = ParseSensorId(m_sensorIdText);
}

ULONG CSensorDlg::SaveSettings() {
    HRESULT result = S_OK;
    if (m_registry) {
        result = m_registry->StopWatching();
        delete m_registry;
        m_registry = nullptr;
    }

    m_settingsPath = SettingsFilePath();
    const char* path = m_settingsPath;
    ::WritePrivateProfileStringA(kIconSection, "enable_icon", m_enableIconFile, path);
    WriteInt(kIconSection, "enable_icon_idx", m_enableIconIndex, path);
    ::WritePrivateProfileStringA(kIconSection, "disable_icon", m_disableIconFile, path);
    WriteInt(kIconSection, "disable_icon_idx", m_disableIconIndex, path);
    ::WritePrivateProfileStringA(kHardwareSection, "sensor_id", m_sensorIdText, path);

    int number = 0;
    for (const auto& [id, entry] : m_catalog) {
        char key[40];
        std::snprintf(key, sizeof key, "location_sensor_list%d", ++number);
        ::WritePrivateProfileStringA(kHardwareSection, key, entry.idText + "\t\t;" + entry.name, path);
    }
    m_catalog.clear();
    return static_cast<ULONG>(result);
}
