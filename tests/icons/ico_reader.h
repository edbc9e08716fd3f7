// Reads .ico files (and the icons of a program's resources) back, independently of the code that writes them, so tests can check what they hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct IcoColour {
    std::uint8_t r, g, b, a;
    bool operator==(const IcoColour&) const = default;
};

struct IcoEntry {
    // Directory entry.
    int width, height, colourCount, reserved, planes, bitCount;
    std::uint32_t bytes, offset;
    // A PNG image: the size, bit depth and colour type of its header; the fields below stay empty.
    bool png;
    int pngWidth, pngHeight, pngBitDepth, pngColourType;
    // BITMAPINFOHEADER of the image.
    std::uint32_t headerSize;
    std::int32_t dibWidth, dibHeight;
    int dibPlanes, dibBitCount;
    std::uint32_t compression;
    // Contents, rows top first; paletted pixels are given their palette colour with alpha 255.
    std::vector<IcoColour> palette;
    std::vector<std::uint8_t> indices;  // paletted images only
    std::vector<IcoColour> pixels;
    std::vector<bool> mask;             // AND mask: true where the screen shows through

    IcoColour At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * dibWidth + x]; }
    bool MaskedAt(int x, int y) const { return mask[static_cast<std::size_t>(y) * dibWidth + x]; }
};

struct IcoFile {
    int reserved, type;
    std::size_t fileSize;
    std::vector<IcoEntry> entries;
};

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// Throws std::runtime_error when the bytes end early or a field is out of the supported range.
IcoFile ParseIco(const std::vector<std::uint8_t>& bytes);
