// Anti-aliasing for the drawn pictures: each pixel is the alpha-weighted mean
// of n x n samples of a picture given as a colour at any point.
#pragma once

#include "icon_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

struct Colour {
    double r, g, b, a;
};

inline std::uint8_t ToByte(double v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

template <typename Picture>
TrueColourImage Supersample(const Picture& picture, int size, int n) {
    TrueColourImage image;
    image.size = size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Colour sum{0, 0, 0, 0};  // premultiplied by alpha
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const Colour c = picture.At(x + (sx + 0.5) / n, y + (sy + 0.5) / n);
                    sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
                }
            }
            if (sum.a == 0) {
                image.pixels.push_back({0, 0, 0, 0});
                continue;
            }
            image.pixels.push_back(
                {ToByte(sum.r / sum.a), ToByte(sum.g / sum.a), ToByte(sum.b / sum.a), ToByte(sum.a / (n * n))});
        }
    }
    return image;
}
