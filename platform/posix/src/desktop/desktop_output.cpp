#include "desktop_output.h"

#include "desktop_console.h"

#include <algorithm>
#include <array>
#include <iostream>

namespace desktop {
namespace {

std::ostream* eventOutput = nullptr;
std::ostream* errorOutput = nullptr;

void WriteLine(std::ostream& out, std::string_view line) {
    out << line << '\n';
    out.flush();
}

}  // namespace

void SetEventOutput(std::ostream* events) { eventOutput = events; }
void SetErrorOutput(std::ostream* errors) { errorOutput = errors; }

void AppendEscaped(std::string& out, std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    static constexpr auto kPlain = [] {
        std::array<bool, 256> plain{};
        // 0xC2 leads the UTF-8 form of the C1 controls, looked at with the byte after it.
        for (int byte = 0x20; byte < 0x100; ++byte) plain[byte] = byte != '\\' && byte != 0x7f && byte != 0xC2;
        return plain;
    }();
    auto plain = [](char c) { return kPlain[static_cast<unsigned char>(c)]; };
    auto appendHex = [&out](unsigned char byte) {
        const char hex[] = {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
        out.append(hex, sizeof hex);
    };
    // Runs of plain bytes go in whole; only the bytes between them are looked at one by one.
    while (!text.empty()) {
        const size_t run = static_cast<size_t>(std::find_if_not(text.begin(), text.end(), plain) - text.begin());
        out.append(text.data(), run);
        text.remove_prefix(run);
        if (text.empty()) break;
        const auto byte = static_cast<unsigned char>(text.front());
        text.remove_prefix(1);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte == 0xC2) {
            // U+0080 to U+009F (C2 80 to C2 9F) are C1 controls: both bytes in hex.
            const auto next = text.empty() ? 0 : static_cast<unsigned char>(text.front());
            if (next < 0x80 || next > 0x9F) {
                out += static_cast<char>(byte);
                continue;
            }
            text.remove_prefix(1);
            appendHex(byte);
            appendHex(next);
        } else {
            appendHex(byte);
        }
    }
}

std::string EscapeText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + 16);
    AppendEscaped(escaped, text);
    return escaped;
}

std::string QuoteInput(std::string_view text) {
    constexpr size_t kMaxQuoted = 80;
    if (text.size() <= kMaxQuoted) return EscapeText(text);
    size_t cut = kMaxQuoted;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // not inside a UTF-8 character
    return EscapeText(text.substr(0, cut)) + "...";
}

void WriteEvent(std::string_view line) { WriteLine(eventOutput ? *eventOutput : std::cout, line); }

void WriteError(std::string_view what) {
    std::string line = "error: ";
    line += what;
    WriteLine(errorOutput ? *errorOutput : std::cerr, line);
}

}  // namespace desktop
