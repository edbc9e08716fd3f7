// The input side of the console desktop: lines read from the input
// descriptor, one command each.
#pragma once

#include <string>

namespace desktop {

// The descriptor to wait on for more input, or -1 when the input has ended
// or there is none.
int PollableInputFd();
// Reads what the input descriptor has ready; notes the end of input.
void ReadAvailableInput();
// Removes the next complete line (or, after the end of input, the last
// unterminated one) from the buffer.
bool TakeInputLine(std::string& line);

void ResetInputBuffer();

}  // namespace desktop
