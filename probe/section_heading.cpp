#include "section_heading.h"

#include <wide_print.h>

namespace {

void PrintSeparator() {
    WidePrintf(L"------------------------------------------------------------------------\n");
}

}  // namespace

void PrintSectionHeading(const wchar_t* title) {
    PrintSeparator();
    WidePrintf(title);
    PrintSeparator();
}
