#include "probe_options.h"

#include <command_line.h>

#include <string_view>

const char kUsage[] =
    "Usage: skyprobe [--json] [--wait SECONDS] [--watch [--count N] [--seconds SECONDS]]\n"
    "       skyprobe --help | --version\n"
    "Reports every location sensor and the Location API's current position.\n"
    "  --json             the report as one JSON object (UTF-8); with --watch, one per line\n"
    "  --wait SECONDS     first wait up to SECONDS (0 to 86400) for a location sensor\n"
    "                     that is ready with a position\n"
    "  --watch            after the report, print each sensor event until Ctrl+C\n"
    "  --count N          with --watch: end after N events (1 to 1000000000)\n"
    "  --seconds SECONDS  with --watch: end after SECONDS (0 to 86400)\n"
    "Options take their value as --name VALUE or --name=VALUE.\n"
    "Exit codes: 0 report complete; 1 latitude/longitude report not supported, or no\n"
    "sensor ready within --wait; 2 command line not understood.\n";

namespace {

constexpr std::uint32_t kMaximumCount = 1000000000;
constexpr long long kMaximumSeconds = 86400;

// An argument quoted in a message: printable ASCII, the rest as '?', at
// most 80 characters.
std::string Quoted(std::wstring_view text) {
    constexpr size_t kMaximum = 80;
    std::string quoted = "'";
    for (size_t i = 0; i < text.size() && i < kMaximum; ++i)
        quoted += text[i] >= 0x20 && text[i] < 0x7f ? static_cast<char>(text[i]) : '?';
    if (text.size() > kMaximum) quoted += "...";
    return quoted + "'";
}

// Whole seconds with up to three decimals.
std::optional<std::chrono::milliseconds> ParseSeconds(std::wstring_view text) {
    long long milliseconds = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        milliseconds = milliseconds * 10 + (text[i] - L'0') * 1000;
        if (milliseconds > kMaximumSeconds * 1000) return std::nullopt;
    }
    if (i == 0) return std::nullopt;
    if (i < text.size() && text[i] == L'.') {
        long long scale = 100;
        size_t decimals = 0;
        for (++i; i < text.size() && text[i] >= L'0' && text[i] <= L'9' && decimals < 3; ++i, ++decimals, scale /= 10)
            milliseconds += (text[i] - L'0') * scale;
        if (decimals == 0) return std::nullopt;
    }
    if (i != text.size() || milliseconds > kMaximumSeconds * 1000) return std::nullopt;
    return std::chrono::milliseconds(milliseconds);
}

std::optional<std::uint32_t> ParseCount(std::wstring_view text) {
    std::uint64_t count = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        count = count * 10 + static_cast<std::uint64_t>(c - L'0');
        if (count > kMaximumCount) return std::nullopt;
    }
    if (text.empty() || count == 0) return std::nullopt;
    return static_cast<std::uint32_t>(count);
}

struct ValueOption {
    std::wstring_view name;
    const char* expected;
};

const ValueOption kValueOptions[] = {
    {L"--wait", "a number of seconds from 0 to 86400"},
    {L"--count", "a whole number from 1 to 1000000000"},
    {L"--seconds", "a number of seconds from 0 to 86400"},
};

// Sets a valued option; false when the value is malformed.
bool SetValue(ProbeOptions& options, std::wstring_view name, std::wstring_view value) {
    if (name == L"--count") return (options.count = ParseCount(value)).has_value();
    auto& target = name == L"--wait" ? options.wait : options.seconds;
    return (target = ParseSeconds(value)).has_value();
}

bool SetFlag(ProbeOptions& options, std::wstring_view name) {
    if (name == L"--json") options.json = true;
    else if (name == L"--watch") options.watch = true;
    else if (name == L"--help") options.help = true;
    else if (name == L"--version") options.version = true;
    else return false;
    return true;
}

ParsedOptions Fail(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

ParsedOptions ParseOptions(int argc, const wchar_t* const* argv) {
    ProbeOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view argument = argv[i];
        if (IsPlatformHelpSwitch(argv[i])) {
            options.help = true;
            continue;
        }
        if (argument.size() < 3 || argument.substr(0, 2) != L"--") {
            const bool optionLike = !argument.empty() && (argument[0] == L'-' || argument[0] == L'/');
            return Fail((optionLike ? "unknown option " : "unexpected argument ") + Quoted(argument));
        }
        const size_t equals = argument.find(L'=');
        const std::wstring_view name = argument.substr(0, equals);
        const ValueOption* valued = nullptr;
        for (const ValueOption& option : kValueOptions)
            if (option.name == name) valued = &option;

        if (valued == nullptr) {
            ProbeOptions flagged = options;
            if (!SetFlag(flagged, name)) return Fail("unknown option " + Quoted(name));
            if (equals != std::wstring_view::npos) return Fail("option " + Quoted(name) + " takes no value");
            options = flagged;
            continue;
        }
        std::wstring_view value;
        if (equals != std::wstring_view::npos) {
            value = argument.substr(equals + 1);
        } else {
            if (i + 1 >= argc) return Fail("option " + Quoted(name) + " needs " + valued->expected);
            value = argv[++i];
        }
        if (!SetValue(options, name, value))
            return Fail("option " + Quoted(name) + " needs " + valued->expected + ", not " + Quoted(value));
    }
    if (!options.watch && (options.count || options.seconds))
        return Fail(std::string("option ") + (options.count ? "'--count'" : "'--seconds'") + " needs --watch");
    return {options, {}};
}
