// Where a private-profile file name leads, as on Windows: a name with a
// directory part is used as it is, a bare name lives in the Windows
// directory, and no name at all means win.ini there.
#pragma once

#include <string>

// The stand-in's Windows directory is the user's own:
// $XDG_CONFIG_HOME/lodestar/windows, else ~/.config/lodestar/windows. Empty
// when neither variable names a directory.
std::string WindowsDirectory();

// The path to use; empty when the name needs the Windows directory and there
// is none. With create set, a missing Windows directory is made (mode 0700).
std::string ProfilePath(const char* fileName, bool create = false);
