#pragma once

#include "step_report.h"
#include "tray_script.h"

// Carries out the steps in order and stops at the first that fails.
// Returns true when every step succeeded.
bool RunTrayScript(const TrayScript& script, StepReport& report);
