#include "ini_text.h"

#include "ini_rules.h"

std::string IniText::LowerName(std::string_view name) { return ini::LowerCase(ini::Trim(name)); }

IniText::IniText(std::string_view text) {
    Keys* section = nullptr;  // null before the first section and in repeated ones
    for (size_t pos = ini::FirstLineStart(text); pos < text.size();) {
        const ini::LineBounds bounds = ini::BoundsOfLine(text, pos);
        const ini::Line line = ini::ParseLine(text.substr(pos, bounds.end - pos));
        pos = bounds.next;
        if (line.kind == ini::LineKind::Section) {
            const auto [found, added] = m_sections.try_emplace(LowerName(line.name));
            section = added ? &found->second : nullptr;
        } else if (line.kind == ini::LineKind::Key && line.hasValue && section != nullptr) {
            section->emplace_back(line.name, line.value);
        }
    }
}

std::optional<std::string_view> IniText::Value(std::string_view section, std::string_view key) const {
    const auto found = m_sections.find(LowerName(section));
    if (found == m_sections.end()) return std::nullopt;
    key = ini::Trim(key);
    for (const auto& [name, value] : found->second)
        if (ini::SameName(name, key)) return ini::Unquoted(value, "\"'");
    return std::nullopt;
}
