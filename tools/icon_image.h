// In-memory pictures of icon images, rows stored top row first.
#pragma once

#include <cstdint>
#include <variant>
#include <vector>

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

struct Rgba {
    std::uint8_t r, g, b, a;
    bool operator==(const Rgba&) const = default;
};

// A 4 or 8 bit per pixel image: palette indices plus a mask of see-through pixels.
struct PalettedImage {
    int size = 0;
    int bitsPerPixel = 8;
    std::vector<Rgb> palette;               // 1 << bitsPerPixel entries
    std::vector<std::uint8_t> indices;      // size * size
    std::vector<bool> transparent;          // size * size
};

// A 32 bit per pixel image with straight (not premultiplied) alpha.
struct TrueColourImage {
    int size = 0;
    std::vector<Rgba> pixels;               // size * size
    bool compressed = false;                // stored as PNG rather than as a bitmap
};

using IconImage = std::variant<PalettedImage, TrueColourImage>;
