#pragma once

#include <string>
#include <string_view>

// Text from outside made safe for a terminal: printable ASCII stays, a
// backslash becomes "\\" and every other byte "\xHH".
std::string EscapedText(std::string_view text);
