// Encodes a true-colour icon image as a PNG file (8-bit RGBA), the form an
// icon holds its large images in.
#pragma once

#include "icon_image.h"

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> EncodePng(const TrueColourImage& image);
