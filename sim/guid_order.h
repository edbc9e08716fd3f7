#pragma once

#include <windows.h>

#include <cstring>

// An order of GUIDs by their bytes, for maps keyed by sensor id.
struct GuidOrder {
    bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};
