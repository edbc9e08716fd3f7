// Encodes icon images as the bytes of a Windows .ico file.
#pragma once

#include "icon_image.h"

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> EncodeIcoFile(const std::vector<IconImage>& images);
