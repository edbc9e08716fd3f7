#include "palette_reduction.h"

#include <stdexcept>

namespace {

std::vector<Rgb> ClassicColours() {
    return {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
            {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
            {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}

std::vector<Rgb> Palette(int bitsPerPixel) {
    std::vector<Rgb> palette = ClassicColours();
    if (bitsPerPixel == 4) return palette;
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette.push_back({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51)});
            }
        }
    }
    for (int i = 0; i < 24; ++i) {
        const auto grey = static_cast<std::uint8_t>(8 + i * 10);
        palette.push_back({grey, grey, grey});
    }
    return palette;
}

// Weighted distance: the eye tells greens apart best and blues worst.
int Distance(const Rgba& a, const Rgb& b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

std::uint8_t Nearest(const Rgba& colour, const std::vector<Rgb>& palette) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < palette.size(); ++i) {
        if (Distance(colour, palette[i]) < Distance(colour, palette[best])) best = i;
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace

PalettedImage ReduceToPalette(const TrueColourImage& image, int bitsPerPixel) {
    if (bitsPerPixel != 4 && bitsPerPixel != 8) throw std::invalid_argument("only 4 or 8 bits per pixel");
    PalettedImage out;
    out.size = image.size;
    out.bitsPerPixel = bitsPerPixel;
    out.palette = Palette(bitsPerPixel);
    for (const Rgba& pixel : image.pixels) {
        const bool seeThrough = pixel.a < 128;
        out.transparent.push_back(seeThrough);
        out.indices.push_back(seeThrough ? 0 : Nearest(pixel, out.palette));
    }
    return out;
}
