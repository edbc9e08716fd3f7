// Parsed ini files kept while they stay unchanged, so that reading many keys
// of one file parses it once.
#pragma once

#include <memory>

#include "profile_document.h"

// The file's current contents, parsed; empty when it is missing or cannot be
// read. Each call checks the file's identity, size and times again.
std::shared_ptr<const ProfileDocument> CachedProfile(const char* path);

// Drops what is held for a file this process has just written.
void ForgetProfile(const char* path);
