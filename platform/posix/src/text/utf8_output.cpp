#include <utf8_output.h>

#include <cstdio>

bool WriteUtf8Output(std::string_view text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return std::fflush(stdout) == 0 && written;
}
