#pragma once

#include <windows.h>

// Asks the Location API for the current position, first at default and then
// at high accuracy, and has the shell open a web map of it, owned by
// `owner`. Nothing happens when no position is known.
void ShowCurrentPositionOnMap(HWND owner);
