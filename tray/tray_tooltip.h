#pragma once

#include <afxwin.h>

// The tray tooltip for a sensor status, before the cut to the tray's limit.
CString BuildTrayTooltip(const CString& name, long state, double latitude, double longitude, int satellitesUsed,
                         int satellitesInView);
