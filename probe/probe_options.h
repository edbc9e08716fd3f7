#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

struct ProbeOptions {
    bool help = false;
    bool version = false;
    bool json = false;
    bool watch = false;
    std::optional<std::chrono::milliseconds> wait;     // --wait
    std::optional<std::uint32_t> count;                // --count, with --watch
    std::optional<std::chrono::milliseconds> seconds;  // --seconds, with --watch
};

// The options, or the one-line reason they cannot be used (plain ASCII).
struct ParsedOptions {
    std::optional<ProbeOptions> options;
    std::string error;
};

ParsedOptions ParseOptions(int argc, const wchar_t* const* argv);

// The usage text, ending in a line feed.
extern const char kUsage[];

// Exit code for a command line that cannot be used.
constexpr int kExitUsage = 2;
