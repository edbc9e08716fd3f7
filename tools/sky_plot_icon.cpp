#include "sky_plot_icon.h"

#include "supersample.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

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

TrueColourImage DrawSkyPlot(int size) {
    constexpr int kSubsamples = 6;  // per axis
    TrueColourImage image = Supersample(SkyPlot(size), size, kSubsamples);
    image.compressed = true;
    return image;
}

}  // namespace

std::vector<IconImage> DrawSkyprobeIcon() {
    std::vector<IconImage> images;
    for (int size : {48, 40, 32, 24, 20, 16}) images.emplace_back(DrawSkyPlot(size));
    return images;
}
