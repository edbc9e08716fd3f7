#include "face_icon.h"

#include <cmath>

namespace {

constexpr int kSize = 16;

// Coordinates are doubled so that the centre (7.5, 7.5) and all distances stay integers.
int Doubled(int v) { return 2 * v - (kSize - 1); }

bool OnHead(int x, int y) {
    const int d2 = Doubled(x) * Doubled(x) + Doubled(y) * Doubled(y);
    return 13 * 13 < d2 && d2 <= 15 * 15;
}

bool OnEye(int x, int y) {
    return (y == 5 || y == 6) && (x == 5 || x == 6 || x == 9 || x == 10);
}

// The lower part of a ring around (7.5, 7); it fills rows 8 to 10. A frown is the same arc upside down.
bool OnMouth(int x, int y, Mood mood) {
    if (mood == Mood::Frowning) y = 18 - y;
    const int dy = 2 * (y - 7);
    const int d2 = Doubled(x) * Doubled(x) + dy * dy;
    return dy > 0 && 6 * 6 < d2 && d2 <= 8 * 8;
}

}  // namespace

PalettedImage DrawFace(Mood mood, Rgb outline, Rgb background) {
    PalettedImage image;
    image.size = kSize;
    image.bitsPerPixel = 8;
    image.palette.assign(256, Rgb{0, 0, 0});
    image.palette[0] = background;
    image.palette[1] = outline;
    image.transparent.assign(kSize * kSize, false);
    image.indices.reserve(kSize * kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const bool drawn = OnHead(x, y) || OnEye(x, y) || OnMouth(x, y, mood);
            image.indices.push_back(drawn ? 1 : 0);
        }
    }
    return image;
}

namespace {

// The 16x16 face's shapes at a point (u, v) measured in its pixels from the top-left corner.
bool OnSmoothFace(double u, double v, Mood mood) {
    const double x = u - 8, y = v - 8;
    const double head = std::hypot(x, y);
    if (6.5 < head && head <= 7.5) return true;
    if (5 <= v && v < 7 && ((5 <= u && u < 7) || (9 <= u && u < 11))) return true;
    const double mouthY = (mood == Mood::Frowning ? 19 - v : v) - 7.5;
    const double mouth = std::hypot(x, mouthY);
    return mouthY > 0 && 3 < mouth && mouth <= 4;
}

std::uint8_t Blend(std::uint8_t from, std::uint8_t to, double amount) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * amount));
}

}  // namespace

TrueColourImage DrawSmoothFace(Mood mood, Rgb outline, Rgb background, int size) {
    constexpr int kSubsamples = 6;  // per axis
    const double scale = static_cast<double>(kSize) / size;
    TrueColourImage image;
    image.size = size;
    image.compressed = true;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    hits += OnSmoothFace((x + (sx + 0.5) / kSubsamples) * scale,
                                         (y + (sy + 0.5) / kSubsamples) * scale, mood);
                }
            }
            const double cover = static_cast<double>(hits) / (kSubsamples * kSubsamples);
            image.pixels.push_back({Blend(background.r, outline.r, cover), Blend(background.g, outline.g, cover),
                                    Blend(background.b, outline.b, cover), 255});
        }
    }
    return image;
}
