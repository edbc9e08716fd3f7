// The rules by which Windows' private-profile functions read the lines of an
// ini file: an optional UTF-8 byte-order mark, lines ending in CR, LF or
// CRLF, a NUL ending a line's text, blanks (Ctrl-Z among them) trimmed,
// names compared without case, and one pair of quotes stripped from a value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ini {

// Where the first line starts: after a UTF-8 byte-order mark, if there is one.
size_t FirstLineStart(std::string_view text);

// The line that starts at `begin`: where its text ends (before the line end)
// and where the next line starts.
struct LineBounds {
    size_t end = 0;
    size_t next = 0;
};
LineBounds BoundsOfLine(std::string_view text, size_t begin);

// What one line holds, read from its text without the line end. A section
// line is '[' up to the last ']'; a comment line starts with ';'; any other
// non-blank line is a key line, with a value only if it has '='.
enum class LineKind { Blank, Comment, Section, Key };
struct Line {
    LineKind kind = LineKind::Blank;
    std::string_view name;  // of the section or key, trimmed
    bool hasValue = false;
    std::string_view value;  // trimmed, quotes kept
};
Line ParseLine(std::string_view text);

bool IsBlank(char c);
std::string_view Trim(std::string_view text);
std::string LowerCase(std::string_view name);
bool SameName(std::string_view a, std::string_view b);

// The value without one pair of matching quotes around it, when it starts
// with one of `quotes` and ends with the same character.
std::string_view Unquoted(std::string_view value, std::string_view quotes);

}  // namespace ini
