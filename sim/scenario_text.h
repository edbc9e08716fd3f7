#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Parsing of single scenario values. Each returns nothing when the text is
// not of the expected form; keywords ignore case.
std::optional<double> ParseDecimal(std::string_view text);
std::optional<std::int32_t> ParseInteger(std::string_view text);
// The brace-enclosed form, {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
std::optional<GUID> ParseGuid(std::string_view text);
bool SameKeyword(std::string_view text, std::string_view keyword);
// Comma-separated items with the blanks around each removed; empty items are
// dropped.
std::vector<std::string> SplitList(std::string_view text);
// UTF-8 to a wide string; nothing when the bytes are not UTF-8.
std::optional<std::wstring> WideFromUtf8(const std::string& text);
