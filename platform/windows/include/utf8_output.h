// Writing UTF-8 text to standard output as it stands, whatever the console's
// code page: for output made for programs (JSON). A console gets the text as
// UTF-16 through WriteConsoleW; a file or pipe gets the UTF-8 bytes.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

// Writes at once (no runtime buffer); false when not all of it could be written.
inline bool WriteUtf8Output(std::string_view text) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) return false;
    DWORD mode = 0;
    if (GetConsoleMode(output, &mode)) {
        const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(units), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
        for (size_t done = 0; done < wide.size();) {
            DWORD written = 0;
            const auto chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 8192));
            if (!WriteConsoleW(output, wide.data() + done, chunk, &written, nullptr) || written == 0) return false;
            done += written;
        }
        return true;
    }
    for (size_t done = 0; done < text.size();) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1 << 20));
        if (!WriteFile(output, text.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}
