# Writes the bytes of a compiled resource file into a C++ source that
# registers them with the console desktop at start-up:
#   cmake -DRES=<file.res> -DOUTPUT=<file.cpp> -P embed_res.cmake
file(READ "${RES}" hex HEX)
string(REGEX REPLACE "(................................)" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}" "// Generated from ${RES}; do not edit.
#include \"desktop_resources.h\"

namespace {

const unsigned char kResources[] = {
${bytes}};

[[maybe_unused]] const bool kRegistered = desktop::RegisterResources(kResources, sizeof kResources);

}  // namespace
")
