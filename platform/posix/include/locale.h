// The C library's <locale.h> plus the Microsoft runtime's wide variant of
// setlocale.
#pragma once

#include_next <locale.h>

#ifdef __cplusplus
// Takes the Windows locale names ("Japanese", "English_United States.1252").
// The C library knows none of them: wherever the requested locale cannot be
// set, or would leave wide output without UTF-8, C.UTF-8 is used instead.
extern "C" wchar_t* _wsetlocale(int category, const wchar_t* locale);
#endif
