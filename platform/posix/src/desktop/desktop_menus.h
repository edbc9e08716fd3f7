// The popup menu being tracked, as far as input commands answer it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace desktop {

// Answers the open popup menu with an item id, or dismisses it (nullopt).
// Returns an error text (empty on success).
std::string AnswerMenu(std::optional<UINT> itemId);

void ResetMenuTracking();

}  // namespace desktop
