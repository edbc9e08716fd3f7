// An ini file held as its bytes plus the lines found in them. Lookups follow
// Windows' rules (names without case, blanks trimmed, CR, LF or CRLF line
// ends, an optional UTF-8 byte-order mark, NUL ending a line's text); edits
// touch only the lines they concern and leave every other byte as it was.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ini_rules.h"

class ProfileDocument {
public:
    explicit ProfileDocument(std::string text = {});

    const std::string& Text() const { return m_text; }

    // The value of a key of the first section with that name, without the
    // double quotes around it, if it has any.
    std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;
    // Section names in file order, each once.
    std::vector<std::string_view> SectionNames() const;
    // Names of the keys (named lines with '=') of the first section with that name.
    std::vector<std::string_view> KeyNames(std::string_view section) const;

    // Edits; each says whether the text changed.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);

private:
    using Kind = ini::LineKind;
    struct Line : ini::Line {
        size_t begin = 0;  // first byte
        size_t end = 0;    // one past the text, before the line end
        size_t next = 0;   // first byte of the following line
    };

    void Parse();
    std::optional<size_t> FindSection(std::string_view name, size_t from = 0) const;
    size_t SectionEnd(size_t header) const;   // index of the next header (or m_lines.size())
    size_t LastKeyLine(size_t header) const;  // the header itself when the section has no keys
    std::optional<size_t> FindKey(size_t header, std::string_view key, bool needValue) const;
    void Splice(size_t begin, size_t end, std::string_view replacement);

    std::string m_text;
    std::vector<Line> m_lines;
    std::unordered_map<std::string, size_t> m_firstSection;  // lower-case name to header line
};
