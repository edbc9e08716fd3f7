// The pieces of a GPX 1.1 track log. A file always ends in the closing tags
// (kGpxTail); each point is written over them together with a new copy, so
// the file is complete after every point.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

using SystemTime = std::chrono::system_clock::time_point;

struct GpxPoint {
    double latitude = 0.0;
    double longitude = 0.0;
    std::optional<double> elevation;
    SystemTime time;
    int satellites = 0;  // 0: not known
};

// The closing tags of an open track segment, at the end of every file.
inline constexpr char kGpxTail[] = "  </trkseg>\n </trk>\n</gpx>\n";
// The end of any GPX file: a new track goes before it.
inline constexpr char kGpxEnd[] = "</gpx>";

std::string GpxHeader();
// A track named `name` (UTF-8, as the sensor gave it) and its first segment.
std::string GpxTrackStart(std::string_view name);
std::string GpxSegmentBreak();
// The point, or nothing when its position cannot be written as GPX
// (latitude beyond ±90°, longitude beyond ±180°, not a number).
std::optional<std::string> GpxPointText(const GpxPoint& point);

// UTF-8 text as XML character data: markup characters escaped, what XML 1.0
// forbids (most control characters, broken UTF-8) left out, at most
// `maxCharacters` characters.
std::string XmlText(std::string_view utf8, size_t maxCharacters);

// "lodestar-YYYY-MM-DD.gpx" for the UTC date of `time`.
std::string GpxFileName(SystemTime time);
