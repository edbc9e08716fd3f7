#include "printable_text.h"

#include "control_characters.h"

namespace {

bool IsControl(wchar_t c) { return c != L'\t' && IsControlCharacter(c); }

}  // namespace

std::wstring PrintableText(const wchar_t* text) {
    std::wstring printable = text != nullptr ? text : L"";
    for (wchar_t& c : printable)
        if (IsControl(c)) c = L'?';
    return printable;
}
