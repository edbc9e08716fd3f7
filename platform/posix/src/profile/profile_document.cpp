#include "profile_document.h"

#include <algorithm>
#include <unordered_set>

namespace {

using ini::LowerCase;
using ini::SameName;
using ini::Trim;

constexpr std::string_view kLineEnd = "\r\n";

// Collects names in order, each once whatever its case.
class NameList {
public:
    void Add(std::string_view name) {
        if (m_seen.insert(LowerCase(name)).second) m_names.push_back(name);
    }
    std::vector<std::string_view> Take() { return std::move(m_names); }

private:
    std::unordered_set<std::string> m_seen;
    std::vector<std::string_view> m_names;
};

}  // namespace

ProfileDocument::ProfileDocument(std::string text) : m_text(std::move(text)) { Parse(); }

void ProfileDocument::Parse() {
    m_lines.clear();
    m_firstSection.clear();
    const std::string_view all = m_text;
    for (size_t pos = ini::FirstLineStart(all); pos < all.size();) {
        const ini::LineBounds bounds = ini::BoundsOfLine(all, pos);
        Line line;
        static_cast<ini::Line&>(line) = ini::ParseLine(all.substr(pos, bounds.end - pos));
        line.begin = pos;
        line.end = bounds.end;
        line.next = bounds.next;
        pos = line.next;
        if (line.kind == Kind::Section) m_firstSection.emplace(LowerCase(line.name), m_lines.size());
        m_lines.push_back(line);
    }
}

std::optional<size_t> ProfileDocument::FindSection(std::string_view name, size_t from) const {
    name = Trim(name);
    if (from == 0) {
        const auto found = m_firstSection.find(LowerCase(name));
        if (found == m_firstSection.end()) return std::nullopt;
        return found->second;
    }
    for (size_t i = from; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Kind::Section && SameName(m_lines[i].name, name)) return i;
    return std::nullopt;
}

size_t ProfileDocument::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < m_lines.size() && m_lines[i].kind != Kind::Section) ++i;
    return i;
}

size_t ProfileDocument::LastKeyLine(size_t header) const {
    size_t last = header;
    for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i)
        if (m_lines[i].kind == Kind::Key) last = i;
    return last;
}

std::optional<size_t> ProfileDocument::FindKey(size_t header, std::string_view key, bool needValue) const {
    key = Trim(key);
    for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
        const Line& line = m_lines[i];
        if (line.kind == Kind::Key && (line.hasValue || !needValue) && SameName(line.name, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string_view> ProfileDocument::Value(std::string_view section, std::string_view key) const {
    const auto header = FindSection(section);
    if (!header) return std::nullopt;
    const auto found = FindKey(*header, key, true);
    if (!found) return std::nullopt;
    return ini::Unquoted(m_lines[*found].value, "\"");
}

std::vector<std::string_view> ProfileDocument::SectionNames() const {
    NameList names;
    for (const Line& line : m_lines)
        if (line.kind == Kind::Section && !line.name.empty()) names.Add(line.name);
    return names.Take();
}

std::vector<std::string_view> ProfileDocument::KeyNames(std::string_view section) const {
    NameList names;
    const auto header = FindSection(section);
    if (!header) return {};
    for (size_t i = *header + 1, end = SectionEnd(*header); i < end; ++i) {
        const Line& line = m_lines[i];
        if (line.kind == Kind::Key && line.hasValue && !line.name.empty()) names.Add(line.name);
    }
    return names.Take();
}

void ProfileDocument::Splice(size_t begin, size_t end, std::string_view replacement) {
    m_text.replace(begin, end - begin, replacement);
}

bool ProfileDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    while (!value.empty() && ini::IsBlank(value.front())) value.remove_prefix(1);

    std::string text;
    const auto header = FindSection(section);
    if (!header) {
        if (!m_lines.empty() && m_lines.back().next == m_lines.back().end) text += kLineEnd;
        ((text += '[') += section) += ']';
        text += kLineEnd;
        ((text += key) += '=') += value;
        text += kLineEnd;
        Splice(m_text.size(), m_text.size(), text);
    } else if (const auto found = FindKey(*header, key, false)) {
        const Line& line = m_lines[*found];
        if (line.hasValue && line.value == value) return false;
        ((text += line.name) += '=') += value;
        Splice(line.begin, line.end, text);
    } else {
        const Line& after = m_lines[LastKeyLine(*header)];
        if (after.next == after.end) text += kLineEnd;
        ((text += key) += '=') += value;
        text += kLineEnd;
        Splice(after.next, after.next, text);
    }
    Parse();
    return true;
}

bool ProfileDocument::DeleteKey(std::string_view section, std::string_view key) {
    for (auto header = FindSection(section); header; header = FindSection(section, *header + 1)) {
        if (const auto found = FindKey(*header, key, false)) {
            Splice(m_lines[*found].begin, m_lines[*found].next, {});
            Parse();
            return true;
        }
    }
    return false;
}

// A section goes from its header to its last key line; comments and blank
// lines after that stay, as they may well introduce what follows.
bool ProfileDocument::DeleteSection(std::string_view section) {
    std::vector<std::pair<size_t, size_t>> ranges;
    for (auto header = FindSection(section); header; header = FindSection(section, *header + 1))
        ranges.emplace_back(m_lines[*header].begin, m_lines[LastKeyLine(*header)].next);
    if (ranges.empty()) return false;
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range)
        Splice(range->first, range->second, {});
    Parse();
    return true;
}
