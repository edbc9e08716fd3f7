#include "scenario_text.h"

#include <objbase.h>

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// from_chars takes no plus sign; a scenario may write one.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    return text;
}

template <class Number>
std::optional<Number> ParseWhole(std::string_view text) {
    text = WithoutPlus(Trim(text));
    Number number{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc{} || stop != end || text.empty()) return std::nullopt;
    return number;
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
    auto number = ParseWhole<double>(text);
    if (number && !std::isfinite(*number)) return std::nullopt;
    return number;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) { return ParseWhole<std::int32_t>(text); }

std::optional<GUID> ParseGuid(std::string_view text) {
    text = Trim(text);
    // Only the braced form: the platform routine would also look up ProgIDs.
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
    wchar_t wide[39] = {};
    for (std::size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<unsigned char>(text[i]);
    GUID guid{};
    if (FAILED(IIDFromString(wide, &guid))) return std::nullopt;
    return guid;
}

bool SameKeyword(std::string_view text, std::string_view keyword) {
    text = Trim(text);
    if (text.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(keyword[i])))
            return false;
    return true;
}

std::vector<std::string> SplitList(std::string_view text) {
    std::vector<std::string> items;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = Trim(text.substr(0, comma));
        if (!item.empty()) items.emplace_back(item);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return items;
}

std::optional<std::wstring> WideFromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    constexpr DWORD kFailOnInvalidChars = 0x8;  // MB_ERR_INVALID_CHARS
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, kFailOnInvalidChars, text.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, kFailOnInvalidChars, text.data(), size, wide.data(), length);
    return wide;
}
