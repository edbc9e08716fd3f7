// The commands a console desktop user types: tray gestures, keys, dialog
// commands and answers to an open popup menu.
#pragma once

#include <string_view>

namespace desktop {

// Carries out one input line; prints an error line when it is not a valid
// command. Blank lines are ignored.
void ExecuteCommand(std::string_view line);

}  // namespace desktop
