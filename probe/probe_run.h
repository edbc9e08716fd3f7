#pragma once

#include "probe_options.h"

// The report with options: waits for a ready sensor, prints the report as
// text or JSON, then watches the sensors' events. Returns the exit code.
int RunProbe(const ProbeOptions& options);
