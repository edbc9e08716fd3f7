#include "globe_icon.h"

#include "palette_reduction.h"
#include "supersample.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

Colour Opaque(Rgb c) { return {c.r / 255.0, c.g / 255.0, c.b / 255.0, 1.0}; }

Colour Mix(const Colour& from, const Colour& to, double amount) {
    return {from.r + (to.r - from.r) * amount, from.g + (to.g - from.g) * amount,
            from.b + (to.b - from.b) * amount, from.a + (to.a - from.a) * amount};
}

struct GlobeStyle {
    int subsamples;              // per axis; 1 draws hard edges
    bool smoothShading;          // blend the ocean colours, or pick one band
    std::vector<Rgb> ocean;      // shadow to highlight
    Rgb grid, rim, marker, markerRing;
};

const GlobeStyle kTrueColour{4, true, {{5, 30, 90}, {60, 150, 240}}, {215, 240, 255},
                             {5, 25, 75}, {230, 25, 20}, {255, 255, 255}};
const GlobeStyle kPalette8{1, false, {{0, 0, 102}, {0, 51, 153}, {0, 102, 204}, {51, 153, 255}},
                           {204, 255, 255}, {0, 0, 51}, {255, 0, 0}, {255, 255, 255}};
const GlobeStyle kPalette4{1, false, {{0, 0, 128}, {0, 0, 255}}, {192, 192, 192},
                           {0, 0, 0}, {255, 0, 0}, {255, 255, 255}};

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

class Globe {
public:
    Globe(int size, const GlobeStyle& style)
        : style_(style),
          centre_(size / 2 - 0.5),  // a pixel's centre, so the central lines are crisp
          radius_(size * 0.46),
          line_(size <= 32 ? 0.5 : 0.75),
          rim_(std::max(1.0, size / 32.0)),
          parallels_(size <= 16 ? std::vector<double>{0} : std::vector<double>{-60, -30, 0, 30, 60}),
          meridians_(size <= 16 ? std::vector<double>{-40, 0, 40} : std::vector<double>{-60, -30, 0, 30, 60}),
          markerX_(std::floor(centre_ + radius_ * 0.42) + 0.5),
          markerY_(std::floor(centre_ - radius_ * 0.42) + 0.5),
          markerRadius_(std::max(2.0, size * 0.09)) {}

    // Colour at a point given in pixels from the top-left corner.
    Colour At(double px, double py) const {
        const double x = (px - centre_) / radius_, y = (py - centre_) / radius_;
        const double r2 = x * x + y * y;
        if (r2 > 1.0) return {0, 0, 0, 0};

        Colour colour = Ocean(x, y, std::sqrt(1.0 - r2));
        if (OnGrid(x, y)) colour = style_.smoothShading ? Mix(colour, Opaque(style_.grid), 0.8) : Opaque(style_.grid);
        if ((1.0 - std::sqrt(r2)) * radius_ < rim_) colour = Opaque(style_.rim);

        const double d = std::hypot(px - markerX_, py - markerY_);
        if (d <= markerRadius_ * 0.62) return Opaque(style_.marker);
        if (d <= markerRadius_) return Opaque(style_.markerRing);
        return colour;
    }

private:
    // Lit from the upper left.
    Colour Ocean(double x, double y, double z) const {
        const double light = std::clamp(0.15 + 0.9 * (-0.45 * x - 0.55 * y + 0.70 * z), 0.0, 1.0);
        const auto& bands = style_.ocean;
        if (style_.smoothShading) return Mix(Opaque(bands.front()), Opaque(bands.back()), light);
        const auto band = std::min(bands.size() - 1, static_cast<std::size_t>(light * bands.size()));
        return Opaque(bands[band]);
    }

    // Distances are in pixels, across the line: vertical for parallels, horizontal for meridians.
    bool OnGrid(double x, double y) const {
        for (double lat : parallels_) {
            if (std::abs(y + std::sin(Radians(lat))) * radius_ <= line_) return true;
        }
        const double halfWidth = std::sqrt(std::max(0.0, 1.0 - y * y));
        for (double lon : meridians_) {
            if (std::abs(x - std::sin(Radians(lon)) * halfWidth) * radius_ <= line_) return true;
        }
        return false;
    }

    const GlobeStyle& style_;
    double centre_, radius_, line_, rim_;
    std::vector<double> parallels_, meridians_;  // degrees
    double markerX_, markerY_, markerRadius_;
};

TrueColourImage DrawGlobe(int size, const GlobeStyle& style) {
    return Supersample(Globe(size, style), size, style.subsamples);
}

}  // namespace

std::vector<IconImage> DrawAppIcon() {
    std::vector<IconImage> images;
    for (int size : {48, 32, 16}) {
        images.emplace_back(ReduceToPalette(DrawGlobe(size, kPalette4), 4));
        images.emplace_back(ReduceToPalette(DrawGlobe(size, kPalette8), 8));
        TrueColourImage image = DrawGlobe(size, kTrueColour);
        image.compressed = size >= 32;
        images.emplace_back(std::move(image));
    }
    for (int size : {256, 64, 40, 24, 20}) {
        TrueColourImage image = DrawGlobe(size, kTrueColour);
        image.compressed = true;
        images.emplace_back(std::move(image));
    }
    return images;
}
