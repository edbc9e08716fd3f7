// Event and error lines of the console desktop.
#pragma once

#include <string>
#include <string_view>

namespace desktop {

// Writes text so that it stays on one line and drives no terminal: backslash,
// line feed, tab, other C0 bytes, DEL and the UTF-8 form of the C1 controls
// (C2 80 to C2 9F) are escaped; every other byte is written as it is.
std::string EscapeText(std::string_view text);
// The same, appended to `out`.
void AppendEscaped(std::string& out, std::string_view text);
// Input quoted back in an error: escaped, and cut after 80 characters.
std::string QuoteInput(std::string_view text);

// Writes one event line on the event output and flushes it.
void WriteEvent(std::string_view line);
// Writes "error: <what>" on the error output and flushes it.
void WriteError(std::string_view what);

}  // namespace desktop
