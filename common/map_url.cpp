#include "map_url.h"

#include <cstdio>

#define MAP_HOST "www.google.com"
#define MAP_URL_FORMAT "https://" MAP_HOST "/maps?q=%f,%f"

const wchar_t kMapUrlFormatW[] = L"" MAP_URL_FORMAT "\n";

bool HasPosition(double latitude, double longitude) {
    return latitude != 0.0 && longitude != 0.0;
}

std::string MapUrlForShell(double latitude, double longitude) {
    const int length = std::snprintf(nullptr, 0, MAP_URL_FORMAT, latitude, longitude);
    std::string url(length, '\0');
    std::snprintf(url.data(), url.size() + 1, MAP_URL_FORMAT, latitude, longitude);
    return url;
}
