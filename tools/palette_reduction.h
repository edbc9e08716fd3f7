// Turns a true-colour icon image into a 4 or 8 bit per pixel one with a fixed palette.
#pragma once

#include "icon_image.h"

// 4 bits: the 16 classic Windows colours. 8 bits: those, a 6x6x6 colour cube and 24 greys.
// Pixels at least half opaque keep their nearest palette colour; the rest become see-through.
PalettedImage ReduceToPalette(const TrueColourImage& image, int bitsPerPixel);
