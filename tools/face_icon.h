// The face icons that show whether the tracked sensor is ready.
#pragma once

#include "icon_image.h"

enum class Mood { Smiling, Frowning };

// The 16x16 face: one opaque 8 bit per pixel image, palette entry 0 is the background, 1 the outline.
PalettedImage DrawFace(Mood mood, Rgb outline, Rgb background);

// The same face at a larger size, opaque and anti-aliased, stored compressed.
TrueColourImage DrawSmoothFace(Mood mood, Rgb outline, Rgb background, int size);
