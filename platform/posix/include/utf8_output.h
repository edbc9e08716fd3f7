// Writing UTF-8 text to standard output as it stands, whatever the locale:
// for output made for programs (JSON).
#pragma once

#include <string_view>

// Writes and flushes; false when not all of it could be written.
bool WriteUtf8Output(std::string_view text);
