// Writes the tray monitor's icon files: ready.ico, not_ready.ico and app.ico.
// Usage: make_icons <output directory>
#include "face_icon.h"
#include "globe_icon.h"
#include "ico_writer.h"

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_icons <output directory>\n";
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);
        WriteIcon(dir / "ready.ico", {DrawFace(Mood::Smiling, Rgb{0, 204, 255}, Rgb{0, 0, 102})});
        WriteIcon(dir / "not_ready.ico", {DrawFace(Mood::Frowning, Rgb{218, 218, 218}, Rgb{4, 4, 4})});
        WriteIcon(dir / "app.ico", DrawAppIcon());
    } catch (const std::exception& e) {
        std::cerr << "make_icons: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
