#pragma once
#include <propidl.h>
