// Reads a Windows program's identity the way Windows does (the loader's
// resource functions and the version API) and checks it:
//   program_resources_check EXE ICON_DIR VERSION [ICON_ID=ICO_FILE]...
// EXE must be linked for Windows 7 (subsystem 6.1), carry the application
// manifest and a version resource of VERSION, and hold each ICO_FILE, byte
// for byte, as its icon group ICON_ID. Prints each failure; exit code 1 if any.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
    if (ok) return;
    std::printf("FAIL: %s\n", what.c_str());
    ++failures;
}

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned U16(const unsigned char* p) { return p[0] | p[1] << 8; }
unsigned long U32(const unsigned char* p) { return U16(p) | static_cast<unsigned long>(U16(p + 2)) << 16; }

std::string Resource(HMODULE module, LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(module, name, type);
    if (!found) return {};
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

void CheckSubsystem(const std::string& exe) {
    const std::vector<unsigned char> file = ReadFile(exe);
    if (file.size() < 0x40) return Check(false, exe + " cannot be read");
    const unsigned long optional = U32(&file[0x3C]) + 24;
    if (file.size() < optional + 52) return Check(false, exe + " has no optional header");
    const unsigned char* h = &file[optional];
    Check(U16(h + 40) == 6 && U16(h + 42) == 1, exe + ": OS version is not 6.1");
    Check(U16(h + 48) == 6 && U16(h + 50) == 1, exe + ": subsystem version is not 6.1");
}

void CheckManifest(HMODULE module, const std::string& exe) {
    const std::string manifest = Resource(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    Check(!manifest.empty(), exe + " has no application manifest");
    for (const char* setting :
         {">true</dpiAware>", ">PerMonitorV2</dpiAwareness>",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "level=\"asInvoker\"",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        Check(manifest.find(setting) != std::string::npos, exe + ": the manifest lacks " + setting);
    }
    Check(manifest.find("activeCodePage") == std::string::npos, exe + ": the manifest changes the code page");
}

void CheckVersion(const std::string& exe, const std::string& version) {
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), nullptr));
    if (info.empty() || !GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data())) {
        return Check(false, exe + " has no version resource");
    }
    auto text = [&](const char* field) {
        char* value = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + field;
        return VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) && value
                   ? std::string(value)
                   : std::string();
    };
    const std::string name = exe.substr(exe.find_last_of("\\/") + 1);
    Check(text("FileVersion") == version, exe + ": FileVersion is '" + text("FileVersion") + "'");
    Check(text("ProductVersion") == version, exe + ": ProductVersion is '" + text("ProductVersion") + "'");
    Check(text("OriginalFilename") == name, exe + ": OriginalFilename is '" + text("OriginalFilename") + "'");
    Check(text("ProductName") == "Lodestar", exe + ": ProductName is '" + text("ProductName") + "'");
    for (const char* field : {"FileDescription", "CompanyName", "LegalCopyright"}) {
        Check(!text(field).empty(), exe + ": no " + field);
    }

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) {
        return Check(false, exe + ": no fixed version information");
    }
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%lu.%lu.%lu", fixed->dwFileVersionMS >> 16,
                  fixed->dwFileVersionMS & 0xFFFF, fixed->dwFileVersionLS >> 16);
    Check(numbers == version, exe + ": the fixed file version is " + numbers);
}

// The icon group as an .ico file: the group's entries name RT_ICON resources
// where a file gives offsets to the images that follow its directory.
std::vector<unsigned char> IconFile(HMODULE module, int id) {
    const std::string group = Resource(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));
    if (group.size() < 6) return {};
    const auto* g = reinterpret_cast<const unsigned char*>(group.data());
    const unsigned count = U16(g + 4);
    if (group.size() < 6 + 14 * count) return {};
    std::vector<unsigned char> file(g, g + 6), images;
    for (unsigned i = 0; i < count; ++i) {
        const unsigned char* entry = g + 6 + 14 * i;
        const std::string image = Resource(module, MAKEINTRESOURCEA(U16(entry + 12)), MAKEINTRESOURCEA(3));
        const unsigned long offset = 6 + 16 * count + images.size();
        file.insert(file.end(), entry, entry + 12);
        for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<unsigned char>(offset >> shift));
        images.insert(images.end(), image.begin(), image.end());
    }
    file.insert(file.end(), images.begin(), images.end());
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: program_resources_check EXE ICON_DIR VERSION [ICON_ID=ICO_FILE]...\n");
        return 2;
    }
    const std::string exe = argv[1], iconDir = argv[2], version = argv[3];
    CheckSubsystem(exe);
    CheckVersion(exe, version);
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        std::printf("FAIL: cannot open %s\n", exe.c_str());
        return 1;
    }
    CheckManifest(module, exe);
    for (int i = 4; i < argc; ++i) {
        const std::string spec = argv[i];
        const std::string icoPath = iconDir + "\\" + spec.substr(spec.find('=') + 1);
        const int id = std::atoi(spec.c_str());
        const std::vector<unsigned char> expected = ReadFile(icoPath);
        Check(!expected.empty(), icoPath + " cannot be read");
        Check(IconFile(module, id) == expected, exe + ": icon " + std::to_string(id) + " differs from " + icoPath);
    }
    FreeLibrary(module);
    return failures == 0 ? 0 : 1;
}
