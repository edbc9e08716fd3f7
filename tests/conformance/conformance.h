// A small table runner built both over the POSIX stand-in and for Windows, so
// that one source checks the stand-in and the real functions (under Wine)
// alike. Each check names its row; a row Wine is known to answer differently
// from Windows carries a note, and under Wine its mismatch is reported, not
// counted.
#pragma once

#include <string>

namespace conformance {

// Counts one check of the current group; `wine` notes how Wine differs.
void Check(bool passed, const std::string& row, const char* wine = nullptr);
void BeginGroup(const char* name);
int Failures();

bool RunningUnderWine();

// A fresh directory, made the current one, for the files of a group.
std::string FreshDirectory();
// The Windows directory, where a profile name without a path lives. Natively
// this points the stand-in's at a directory of the test's own, holding a
// win.ini with a section as Windows' always has.
std::string WindowsDirectory();

std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
void RemoveFile(const std::string& path);
std::string Join(const std::string& directory, const std::string& name);

}  // namespace conformance

void CheckProfiles();
void CheckGuidText();
void CheckCodePages();
