// The gpsd byte stream cut into lines: fed in pieces of any size, the
// assembler must give the lines that splitting the whole stream at once
// gives, never one longer than its limit, and say so when it dropped one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "line_assembler.h"

namespace {

struct Split {
    std::vector<std::string> lines;
    bool fits = true;
};

// The whole stream at once: each line ended by LF, less one CR before it;
// a line over the limit is dropped, as is an unfinished one that can no
// longer fit.
Split SplitWhole(std::string_view stream, std::size_t maxLine) {
    Split split;
    while (!stream.empty()) {
        const std::size_t end = stream.find('\n');
        std::string_view line = stream.substr(0, end);
        if (end == std::string_view::npos) {
            if (line.size() > maxLine + 1) split.fits = false;
            break;
        }
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > maxLine)
            split.fits = false;
        else
            split.lines.emplace_back(line);
        stream.remove_prefix(end + 1);
    }
    return split;
}

}  // namespace

// The first byte sets the line limit (1 to 64), the second the size of the
// pieces (1 to 256); the rest is the stream.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t maxLine = 1 + data[0] % 64;
    const std::size_t pieceSize = 1 + data[1];
    const std::string_view stream(reinterpret_cast<const char*>(data + 2), size - 2);

    LineAssembler assembler(maxLine);
    Split fed;
    for (std::size_t at = 0; at < stream.size(); at += pieceSize)
        fed.fits = assembler.Feed(stream.substr(at, pieceSize), fed.lines) && fed.fits;

    const Split whole = SplitWhole(stream, maxLine);
    if (fed.lines != whole.lines || fed.fits != whole.fits) std::abort();
    for (const std::string& line : fed.lines)
        if (line.size() > maxLine || line.find('\n') != std::string::npos) std::abort();
    return 0;
}
