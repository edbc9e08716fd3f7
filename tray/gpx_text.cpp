#include "gpx_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Locale-independent decimals.
std::optional<std::string> Fixed(double value, int decimals) {
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return std::nullopt;
    return std::string(text, end);
}

bool AllowedInXml(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// The character at the start of `text` and its length in bytes; length 0
// where the bytes are no well-formed UTF-8 (overlong forms, surrogates and
// values past U+10FFFF included).
std::pair<char32_t, size_t> DecodeUtf8(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                  : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || length > text.size()) return {0, 0};
    char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return {0, 0};
        c = c << 6 | (next & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return {0, 0};
    return {c, length};
}

std::string IsoTime(SystemTime time) {
    using namespace std::chrono;
    const auto second = floor<seconds>(time);
    const auto day = floor<days>(second);
    const year_month_day date{day};
    const hh_mm_ss clock{second - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

}  // namespace

std::string GpxHeader() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"lodestar\" xmlns=\"http://www.topografix.com/GPX/1/1\""
           " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
           " xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";
}

std::string GpxTrackStart(std::string_view name) {
    constexpr size_t kMaxNameCharacters = 256;
    const std::string text = XmlText(name, kMaxNameCharacters);
    return " <trk>\n" + (text.empty() ? std::string() : "  <name>" + text + "</name>\n") + "  <trkseg>\n";
}

std::string GpxSegmentBreak() { return "  </trkseg>\n  <trkseg>\n"; }

std::optional<std::string> GpxPointText(const GpxPoint& point) {
    // Comparisons with a NaN are false: it fails both tests.
    if (!(std::fabs(point.latitude) <= 90.0) || !(std::fabs(point.longitude) <= 180.0)) return std::nullopt;
    const auto latitude = Fixed(point.latitude, 6);
    auto longitude = Fixed(point.longitude, 6);
    if (!latitude || !longitude) return std::nullopt;
    // The 180th meridian is written as -180: GPX takes longitudes below 180.
    if (*longitude == "180.000000") longitude = "-180.000000";

    std::string text = "   <trkpt lat=\"" + *latitude + "\" lon=\"" + *longitude + "\">";
    constexpr double kMaxElevation = 1e6;
    if (point.elevation && std::fabs(*point.elevation) < kMaxElevation)
        if (const auto elevation = Fixed(*point.elevation, 1)) text += "<ele>" + *elevation + "</ele>";
    text += "<time>" + IsoTime(point.time) + "</time>";
    if (point.satellites > 0) text += "<sat>" + std::to_string(point.satellites) + "</sat>";
    return text + "</trkpt>\n";
}

std::string XmlText(std::string_view utf8, size_t maxCharacters) {
    std::string text;
    size_t characters = 0;
    while (!utf8.empty() && characters < maxCharacters) {
        const auto [c, length] = DecodeUtf8(utf8);
        if (length == 0) {
            utf8.remove_prefix(1);
            continue;
        }
        const std::string_view bytes = utf8.substr(0, length);
        utf8.remove_prefix(length);
        if (!AllowedInXml(c)) continue;
        ++characters;
        switch (c) {
        case '&': text += "&amp;"; break;
        case '<': text += "&lt;"; break;
        case '>': text += "&gt;"; break;
        case '"': text += "&quot;"; break;
        case '\'': text += "&apos;"; break;
        // A raw carriage return would be read back as a line feed.
        case '\r': text += "&#13;"; break;
        default: text += bytes;
        }
    }
    return text;
}

std::string GpxFileName(SystemTime time) { return "lodestar-" + IsoTime(time).substr(0, 10) + ".gpx"; }
