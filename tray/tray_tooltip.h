#pragma once

#include <afxwin.h>

// The tray tooltip for a sensor status, before the cut to the tray's limit.
CString BuildTrayTooltip(const CString& name, long state, double latitude, double longitude, int satellitesUsed,
                         int satellitesInView);

// Copies the tooltip into the tray record's field, cut to 127 bytes: whole
// lines only, dropping the line that does not fit with the line feed before
// it; a single line too long is cut between two characters.
void CopyTrayTip(CHAR (&field)[128], const char* text);
