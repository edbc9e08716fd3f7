#pragma once

#include <string>

// Sensor-provided text (a name, an address line) made safe for the report:
// every control character but the tab becomes '?', so the text can neither
// break a line of the report nor reach the terminal as a command. Null reads
// as empty.
std::wstring PrintableText(const wchar_t* text);
