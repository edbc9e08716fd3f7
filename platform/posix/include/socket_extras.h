// What the two builds' socket headers name differently. POSIX has it all.
#pragma once

#include <winsock2.h>
