#include "sky_plot_icon.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct Colour {
    double r, g, b, a;
};

constexpr Colour kSky{0.05, 0.16, 0.22, 1};
constexpr Colour kRim{0.55, 0.85, 0.75, 1};
constexpr Colour kGrid{0.35, 0.70, 0.60, 1};

struct Satellite {
    double x, y;  // on the plot, -1 to 1
    Colour colour;
};

constexpr std::array<Satellite, 3> kSatellites{{{0.36, -0.40, {1.00, 0.82, 0.10, 1}},
                                               {-0.45, 0.18, {1.00, 0.82, 0.10, 1}},
                                               {0.22, 0.50, {1.00, 0.45, 0.15, 1}}}};

class SkyPlot {
public:
    explicit SkyPlot(int size)
        : centre_(size / 2.0), radius_(size * 0.47), line_(std::max(0.5, size / 40.0)),
          dot_(std::max(1.6, size * 0.085)) {}

    Colour At(double px, double py) const {
        const double x = px - centre_, y = py - centre_;
        const double r = std::hypot(x, y);
        if (r > radius_) return {0, 0, 0, 0};
        for (const Satellite& s : kSatellites) {
            if (std::hypot(x - s.x * radius_, y - s.y * radius_) <= dot_) return s.colour;
        }
        if (radius_ - r <= 2 * line_) return kRim;
        const bool ring = std::abs(r - radius_ / 3) <= line_ / 2 || std::abs(r - radius_ * 2 / 3) <= line_ / 2;
        const bool cross = std::abs(x) <= line_ / 2 || std::abs(y) <= line_ / 2;
        return ring || cross ? kGrid : kSky;
    }

private:
    double centre_, radius_, line_, dot_;
};

std::uint8_t ToByte(double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); }

TrueColourImage DrawSkyPlot(int size) {
    constexpr int n = 6;  // subsamples per axis
    const SkyPlot plot(size);
    TrueColourImage image;
    image.size = size;
    image.compressed = true;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Colour sum{0, 0, 0, 0};  // premultiplied by alpha
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const Colour c = plot.At(x + (sx + 0.5) / n, y + (sy + 0.5) / n);
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

}  // namespace

std::vector<IconImage> DrawSkyprobeIcon() {
    std::vector<IconImage> images;
    for (int size : {48, 40, 32, 24, 20, 16}) images.emplace_back(DrawSkyPlot(size));
    return images;
}
