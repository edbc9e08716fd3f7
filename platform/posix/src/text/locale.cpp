#include <locale.h>
#include <langinfo.h>

#include <cstring>
#include <string>

namespace {

constexpr char kFallbackLocale[] = "C.UTF-8";

// A Windows locale name reaches the C library only when it is plain ASCII.
bool ToNarrow(const wchar_t* wide, std::string* narrow) {
    for (const wchar_t* p = wide; *p != L'\0'; ++p) {
        if (*p < 0x20 || *p > 0x7e) return false;
        *narrow += static_cast<char>(*p);
    }
    return true;
}

bool KeepsUtf8Output(int category) {
    if (category != LC_ALL && category != LC_CTYPE) return true;
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

}  // namespace

extern "C" wchar_t* _wsetlocale(int category, const wchar_t* locale) {
    const char* applied = nullptr;
    if (locale == nullptr) {
        applied = setlocale(category, nullptr);
    } else {
        std::string name;
        if (ToNarrow(locale, &name)) applied = setlocale(category, name.c_str());
        if (applied == nullptr || !KeepsUtf8Output(category)) applied = setlocale(category, kFallbackLocale);
    }
    if (applied == nullptr) return nullptr;

    // Like the Microsoft runtime, the answer lives in a per-thread buffer.
    static thread_local std::wstring result;
    result.clear();
    for (const char* p = applied; *p != '\0'; ++p) result += static_cast<unsigned char>(*p);
    return result.data();
}
