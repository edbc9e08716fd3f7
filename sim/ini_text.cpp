#include "ini_text.h"

#include <algorithm>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Windows also takes Ctrl-Z, the old end-of-file mark, for a blank.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1a';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::string IniText::LowerName(std::string_view name) {
    std::string lower(Trim(name));
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    return lower;
}

IniText::IniText(std::string_view text) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    Keys* section = nullptr;  // null before the first section and in repeated ones
    while (!text.empty()) {
        const size_t end = std::min(text.find_first_of("\r\n"), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end);
        if (text.substr(0, 2) == "\r\n")
            text.remove_prefix(2);
        else if (!text.empty())
            text.remove_prefix(1);

        line = Trim(line.substr(0, line.find('\0')));
        if (line.empty() || line.front() == ';') continue;
        if (const size_t close = line.rfind(']'); line.front() == '[' && close != std::string_view::npos) {
            const auto [found, added] = m_sections.try_emplace(LowerName(line.substr(1, close - 1)));
            section = added ? &found->second : nullptr;
            continue;
        }
        const size_t equals = line.find('=');
        if (section == nullptr || equals == std::string_view::npos) continue;
        section->emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
}

std::optional<std::string_view> IniText::Value(std::string_view section, std::string_view key) const {
    const auto found = m_sections.find(LowerName(section));
    if (found == m_sections.end()) return std::nullopt;
    key = Trim(key);
    for (const auto& [name, value] : found->second)
        if (SameName(name, key)) return Unquoted(value);
    return std::nullopt;
}
