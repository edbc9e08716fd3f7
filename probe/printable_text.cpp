#include "printable_text.h"

namespace {

// C0, DEL and C1: the controls a terminal may act on.
bool IsControl(wchar_t c) { return c != L'\t' && (c < 0x20 || (c >= 0x7f && c <= 0x9f)); }

}  // namespace

std::wstring PrintableText(const wchar_t* text) {
    std::wstring printable = text != nullptr ? text : L"";
    for (wchar_t& c : printable)
        if (IsControl(c)) c = L'?';
    return printable;
}
