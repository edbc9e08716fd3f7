// BstrHolder: owns one BSTR that a call handed out and frees it when it
// goes, null included, as the hand-written SysFreeString after such a call
// did.
#pragma once

#include <windows.h>

class BstrHolder {
public:
    BstrHolder() = default;
    ~BstrHolder() { ::SysFreeString(m_text); }
    BstrHolder(const BstrHolder&) = delete;
    BstrHolder& operator=(const BstrHolder&) = delete;

    // For the call that hands out the string; the holder must be empty.
    BSTR* Put() { return &m_text; }
    const wchar_t* Get() const { return m_text; }
    // The text, or "" for a null string.
    const wchar_t* Text() const { return m_text != nullptr ? m_text : L""; }

private:
    BSTR m_text = nullptr;
};
