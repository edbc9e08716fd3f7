#include "face_icon.h"

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
