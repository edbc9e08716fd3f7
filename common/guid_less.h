#pragma once

#include <windows.h>

#include <cstring>

// Orders sensor ids by their 16 bytes, for maps keyed by id.
struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};
