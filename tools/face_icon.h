// The 16x16 face icons that show whether the tracked sensor is ready.
#pragma once

#include "icon_image.h"

enum class Mood { Smiling, Frowning };

// One opaque 8 bit per pixel image: palette entry 0 is the background, 1 the outline.
PalettedImage DrawFace(Mood mood, Rgb outline, Rgb background);
