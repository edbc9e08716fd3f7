// The small application framework both builds use in place of MFC: the
// same class names and the same behaviour for what the programs rely on.
#pragma once

#include <windows.h>

#include "cdialog.h"
#include "cmenu.h"
#include "cstring.h"
#include "cwinapp.h"
#include "cwnd.h"
#include "message_map.h"

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
