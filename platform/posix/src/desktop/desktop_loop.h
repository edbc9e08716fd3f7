// The wait at the heart of GetMessageA and of the popup menu's own loop.
#pragma once

#include <windows.h>

#include <functional>

namespace desktop {

struct MessageFilter;

enum class WaitResult { Message, Quit, Stopped };

// Waits for the next message, serving input commands meanwhile, in the order
// Windows gives them: posted messages, the quit request, input, timers.
// Returns Stopped as soon as stop() is true (checked before each step).
WaitResult WaitForMessage(const MessageFilter& filter, MSG* msg,
                          const std::function<bool()>& stop = {});

}  // namespace desktop
