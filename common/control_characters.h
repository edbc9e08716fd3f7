#pragma once

// C0 (the tab included), DEL and C1: the characters a terminal may act on and
// that may break a line of a file.
inline bool IsControlCharacter(wchar_t c) { return c < 0x20 || (c >= 0x7f && c <= 0x9f); }
