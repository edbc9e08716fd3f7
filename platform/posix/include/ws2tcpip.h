// POSIX stand-in: getaddrinfo and socklen_t come with the socket headers.
#pragma once

#include "winsock2.h"
