#include "desktop_output.h"

#include "desktop_console.h"

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

std::string EscapeText(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            escaped += "\\x";
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0xf];
        } else {
            escaped += c;
        }
    }
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
