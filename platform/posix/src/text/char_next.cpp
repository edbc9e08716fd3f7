// CharNextA over UTF-8, the stand-in's ANSI code page: a lead byte and its
// continuation bytes are one character; a stray byte is a character alone.
#include <windows.h>

LPSTR CharNextA(LPCSTR text) {
    auto* p = reinterpret_cast<const unsigned char*>(text);
    if (!p || !*p) return const_cast<LPSTR>(text);
    int length = 1;
    if (*p >= 0xF0 && *p <= 0xF4) length = 4;
    else if (*p >= 0xE0 && *p <= 0xEF) length = 3;
    else if (*p >= 0xC2 && *p <= 0xDF) length = 2;
    int step = 1;
    while (step < length && (p[step] & 0xC0) == 0x80) ++step;
    if (step < length) step = 1;
    return const_cast<LPSTR>(text + step);
}
