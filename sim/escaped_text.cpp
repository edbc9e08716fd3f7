#include "escaped_text.h"

#include <cstdio>

std::string EscapedText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            escaped += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7F) {
            escaped += c;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            escaped += hex;
        }
    }
    return escaped;
}
