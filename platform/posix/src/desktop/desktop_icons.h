// Icons of the console desktop: heap objects named after where they came
// from; loaded ones are shared, extracted ones freed for real by DestroyIcon.
#pragma once

#include <windows.h>

#include <string>

namespace desktop {

// ExtractIconA's answer for a file that is not an icon container.
inline const HICON kNoIconContainer = reinterpret_cast<HICON>(static_cast<INT_PTR>(1));

// The icon's name as event lines print it: reads the icon object, so a
// destroyed icon is a use after free (which a sanitizer reports).
std::string IconText(HICON icon);
// Whether the icon object is one of ours; reads it like IconText.
bool IconIsUsable(HICON icon);

}  // namespace desktop
