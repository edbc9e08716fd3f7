// What the two builds' socket headers name differently: Winsock never
// raises a signal on a closed connection, so it has no flag for that.
#pragma once

#include <winsock2.h>

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0
#endif
