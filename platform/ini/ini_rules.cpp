#include "ini_rules.h"

#include <algorithm>

namespace ini {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

size_t FirstLineStart(std::string_view text) {
    return text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
}

LineBounds BoundsOfLine(std::string_view text, size_t begin) {
    LineBounds bounds;
    bounds.end = std::min(text.find_first_of("\r\n", begin), text.size());
    bounds.next = bounds.end;
    if (bounds.next < text.size()) bounds.next += text.compare(bounds.end, 2, "\r\n") == 0 ? 2 : 1;
    return bounds;
}

Line ParseLine(std::string_view text) {
    Line line;
    text = Trim(text.substr(0, text.find('\0')));
    if (text.empty()) {
        line.kind = LineKind::Blank;
    } else if (text.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (const size_t close = text.rfind(']'); text.front() == '[' && close != std::string_view::npos) {
        line.kind = LineKind::Section;
        line.name = Trim(text.substr(1, close - 1));
    } else {
        line.kind = LineKind::Key;
        const size_t equals = text.find('=');
        line.name = Trim(text.substr(0, equals));
        if (equals != std::string_view::npos) {
            line.hasValue = true;
            line.value = Trim(text.substr(equals + 1));
        }
    }
    return line;
}

// Windows also takes Ctrl-Z, the old end-of-file mark, for a blank.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1a';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string LowerCase(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    return lower;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Unquoted(std::string_view value, std::string_view quotes) {
    if (value.size() >= 2 && quotes.find(value.front()) != std::string_view::npos && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace ini
