#include "text_cut.h"

#include <windows.h>

size_t WholeCharactersLength(const char* text, size_t maxBytes) {
    const char* cut = text;
    for (const char* next = ::CharNextA(cut); next != cut && static_cast<size_t>(next - text) <= maxBytes;
         next = ::CharNextA(cut))
        cut = next;
    return static_cast<size_t>(cut - text);
}
