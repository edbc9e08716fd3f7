#pragma once

#include <string>

// A position is known when latitude and longitude both differ from 0.0
// (a NaN counts as differing).
bool HasPosition(double latitude, double longitude);

// The web map link for a position, "%f" (six decimals) each, ending in a
// line feed, as the console report prints it.
extern const wchar_t kMapUrlFormatW[];

// The same link without the line feed, for handing to the shell: a URL with
// a control character in it is malformed and some browsers refuse it.
std::string MapUrlForShell(double latitude, double longitude);
