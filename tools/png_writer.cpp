#include "png_writer.h"

#include <zlib.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

constexpr int kBytesPerPixel = 4;

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::vector<std::uint8_t>& data) {
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const auto crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    PutU32(out, static_cast<std::uint32_t>(crc));
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Each row gets the filter whose output has the smallest sum of magnitudes,
// the usual guess at what deflate compresses best.
std::vector<std::uint8_t> FilteredRows(const std::vector<std::uint8_t>& raw, int size) {
    const std::size_t stride = static_cast<std::size_t>(size) * kBytesPerPixel;
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> zeros(stride, 0), candidate(stride);
    for (int y = 0; y < size; ++y) {
        const std::uint8_t* row = &raw[y * stride];
        const std::uint8_t* up = y > 0 ? &raw[(y - 1) * stride] : zeros.data();
        std::vector<std::uint8_t> best;
        long bestCost = -1;
        int bestFilter = 0;
        for (int filter = 0; filter <= 4; ++filter) {
            long cost = 0;
            for (std::size_t i = 0; i < stride; ++i) {
                const int a = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
                const int b = up[i];
                const int c = i >= kBytesPerPixel ? up[i - kBytesPerPixel] : 0;
                const int predictor = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2
                                    : filter == 4 ? Paeth(a, b, c) : 0;
                candidate[i] = static_cast<std::uint8_t>(row[i] - predictor);
                cost += std::abs(static_cast<std::int8_t>(candidate[i]));
            }
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                bestFilter = filter;
                best = candidate;
            }
        }
        out.push_back(static_cast<std::uint8_t>(bestFilter));
        out.insert(out.end(), best.begin(), best.end());
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const TrueColourImage& image) {
    const int size = image.size;
    if (size < 1 || image.pixels.size() != static_cast<std::size_t>(size) * size) {
        throw std::invalid_argument("malformed true-colour image");
    }
    std::vector<std::uint8_t> raw;
    raw.reserve(image.pixels.size() * kBytesPerPixel);
    for (const Rgba& p : image.pixels) raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
    const std::vector<std::uint8_t> filtered = FilteredRows(raw, size);

    uLongf packedSize = compressBound(static_cast<uLong>(filtered.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, filtered.data(), static_cast<uLong>(filtered.size()), 9) != Z_OK) {
        throw std::runtime_error("cannot compress a " + std::to_string(size) + " pixel image");
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    PutU32(header, static_cast<std::uint32_t>(size));
    PutU32(header, static_cast<std::uint32_t>(size));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits per sample, RGBA, deflate, filters, no interlace

    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}
