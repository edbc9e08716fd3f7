#include "cstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

// Converts into a stack buffer first; only a longer text is measured and
// converted again.
CString::CString(const wchar_t* text) {
    if (!text || !*text) return;
    char buffer[256];
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr) > 0) {
        m_text.assign(buffer, std::strlen(buffer));
        return;
    }
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return;
    m_text.resize(size);
    WideCharToMultiByte(CP_ACP, 0, text, -1, m_text.data(), size, nullptr, nullptr);
    m_text.resize(std::strlen(m_text.c_str()));
}

CString& CString::operator=(const char* text) {
    m_text = text ? text : "";
    return *this;
}

CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const char* text) {
    if (text) m_text += text;
    return *this;
}

CString CString::Left(int count) const {
    CString result;
    if (count > 0) result.m_text = m_text.substr(0, static_cast<size_t>(count));
    return result;
}

// Formats into a stack buffer first; only a longer text is formatted again.
void CString::Format(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (length < 0) {
        m_text.clear();
    } else if (static_cast<size_t>(length) < sizeof buffer) {
        m_text.assign(buffer, static_cast<size_t>(length));
    } else {
        m_text.assign(static_cast<size_t>(length), '\0');
        std::vsnprintf(m_text.data(), m_text.size() + 1, format, copy);
    }
    va_end(copy);
    va_end(args);
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, const char* b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const char* a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}
