// skyprobe's picture: a satellite sky plot, the view from the receiver up to
// the sky with rings of equal elevation and the satellites it sees.
#pragma once

#include "icon_image.h"

#include <vector>

// 16 to 48 pixels, anti-aliased with see-through corners, stored compressed.
std::vector<IconImage> DrawSkyprobeIcon();
