// Writes the programs' icon files: ready.ico, not_ready.ico and app.ico for
// the tray monitor, skyprobe.ico for the console diagnostic.
// Usage: make_icons <tray icon directory> <skyprobe icon directory>
#include "face_icon.h"
#include "globe_icon.h"
#include "ico_writer.h"
#include "sky_plot_icon.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

void WriteIcon(const std::filesystem::path& path, const std::vector<IconImage>& images) {
    const std::vector<std::uint8_t> bytes = EncodeIcoFile(images);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

// The 16x16 image first, then larger ones for higher display scales.
std::vector<IconImage> FaceIcon(Mood mood, Rgb outline, Rgb background) {
    std::vector<IconImage> images{DrawFace(mood, outline, background)};
    for (int size : {20, 24, 32, 40, 48}) images.emplace_back(DrawSmoothFace(mood, outline, background, size));
    return images;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_icons <tray icon directory> <skyprobe icon directory>\n";
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1], probeDir = argv[2];
        std::filesystem::create_directories(dir);
        std::filesystem::create_directories(probeDir);
        WriteIcon(dir / "ready.ico", FaceIcon(Mood::Smiling, Rgb{0, 204, 255}, Rgb{0, 0, 102}));
        WriteIcon(dir / "not_ready.ico", FaceIcon(Mood::Frowning, Rgb{218, 218, 218}, Rgb{4, 4, 4}));
        WriteIcon(dir / "app.ico", DrawAppIcon());
        WriteIcon(probeDir / "skyprobe.ico", DrawSkyprobeIcon());
    } catch (const std::exception& e) {
        std::cerr << "make_icons: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
