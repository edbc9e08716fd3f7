#pragma once

// Prints a section's heading between two separator lines; `title` carries
// its own blanks and line feed.
void PrintSectionHeading(const wchar_t* title);
