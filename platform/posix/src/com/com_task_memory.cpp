#include <objbase.h>

#include <cstdlib>

LPVOID CoTaskMemAlloc(size_t size) { return std::malloc(size ? size : 1); }

void CoTaskMemFree(LPVOID memory) { std::free(memory); }
