#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Splits a byte stream into lines ended by LF or CR LF, holding at most one
// unfinished line of bounded length.
class LineAssembler {
public:
    explicit LineAssembler(std::size_t maxLine) : m_maxLine(maxLine) {}

    // Appends `bytes`; every line they complete goes to `lines`, without its
    // end. False when a line is longer than the limit: it is dropped up to
    // its end and the lines after it are taken.
    bool Feed(std::string_view bytes, std::vector<std::string>& lines);
    void Clear();

private:
    std::size_t m_maxLine;
    std::string m_partial;
    bool m_skipping = false;  // through the rest of a line that was too long
};
