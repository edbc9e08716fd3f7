#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// The sections and keys of an ini text, found in one pass, looked up as
// Windows' private-profile functions look them up: names ignore case and the
// blanks around them; the first section of a name and its first key line with
// '=' count; a value loses the blanks around it and one pair of matching
// quotes. Lines end in CR, LF or CRLF; ';' starts a comment line. The views
// point into the text, which must outlive this object.
class IniText {
public:
    explicit IniText(std::string_view text);

    std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const { return m_sections.count(LowerName(section)) != 0; }

private:
    static std::string LowerName(std::string_view name);
    using Keys = std::vector<std::pair<std::string_view, std::string_view>>;
    std::unordered_map<std::string, Keys> m_sections;  // by lower-case name
};
