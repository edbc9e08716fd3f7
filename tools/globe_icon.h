// The application picture: a shaded globe with its grid of meridians and parallels and a marked position.
#pragma once

#include "icon_image.h"

#include <vector>

// The images of the application icon: 48, 32 and 16 pixels, each at 4, 8 and 32 bits per pixel, and
// 32 bit images of 256, 64, 40, 24 and 20 pixels. The 32 bit images from 20 pixels up, but 16, are
// stored compressed.
// The true-colour images are smoothly shaded and anti-aliased; the paletted ones are drawn with a few
// flat colours taken from their palettes, so they need no dithering.
std::vector<IconImage> DrawAppIcon();
