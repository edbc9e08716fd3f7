#pragma once

#include <afxwin.h>

#include "sensor_status.h"

// The tray tooltip for a sensor status, before the cut to the tray's limit.
CString BuildTrayTooltip(const SensorStatus& status);

// Copies text into a field of the tray record of `size` bytes, cut to
// size - 1 bytes: whole lines only, dropping the line that does not fit with
// the line feed before it; a single line too long is cut between two
// characters.
void CopyTrayText(CHAR* field, size_t size, const char* text);

// The tooltip, cut so to the tray's 127 bytes.
inline void CopyTrayTip(CHAR (&field)[128], const char* text) { CopyTrayText(field, sizeof field, text); }
