#pragma once

#include <cstddef>

// The length of the longest start of `text` that has at most `maxBytes`
// bytes and does not split a character of the ANSI code page.
size_t WholeCharactersLength(const char* text, size_t maxBytes);
