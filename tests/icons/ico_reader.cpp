#include "ico_reader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

class Reader {
public:
    Reader(const std::vector<std::uint8_t>& bytes, std::size_t at) : bytes_(bytes), at_(at) {}
    std::uint8_t U8() {
        if (at_ >= bytes_.size()) throw std::runtime_error("read past the end of the file");
        return bytes_[at_++];
    }
    std::uint16_t U16() { const unsigned lo = U8(); return static_cast<std::uint16_t>(lo | U8() << 8); }
    std::uint32_t U32() { const std::uint32_t lo = U16(); return lo | static_cast<std::uint32_t>(U16()) << 16; }
    std::size_t At() const { return at_; }
    void Skip(std::size_t n) { at_ += n; }
private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_;
};

std::size_t RowBytes(int width, int bitCount) { return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4; }

std::uint32_t BigEndianU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    if (at + 4 > bytes.size()) throw std::runtime_error("read past the end of the file");
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8
         | bytes[at + 3];
}

// The signature, then the IHDR chunk: length, type, width, height, bit depth, colour type.
bool ReadPngHeader(const std::vector<std::uint8_t>& bytes, IcoEntry& e) {
    static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (e.offset + 33 > bytes.size() || !std::equal(std::begin(kSignature), std::end(kSignature), &bytes[e.offset])) {
        return false;
    }
    if (std::string(&bytes[e.offset + 12], &bytes[e.offset + 16]) != "IHDR") throw std::runtime_error("PNG without IHDR");
    e.png = true;
    e.pngWidth = static_cast<int>(BigEndianU32(bytes, e.offset + 16));
    e.pngHeight = static_cast<int>(BigEndianU32(bytes, e.offset + 20));
    e.pngBitDepth = bytes[e.offset + 24];
    e.pngColourType = bytes[e.offset + 25];
    if (e.offset + e.bytes > bytes.size()) throw std::runtime_error("image runs past the end of the file");
    return true;
}

void ReadImage(const std::vector<std::uint8_t>& bytes, IcoEntry& e) {
    if (ReadPngHeader(bytes, e)) return;
    Reader r(bytes, e.offset);
    e.headerSize = r.U32();
    e.dibWidth = static_cast<std::int32_t>(r.U32());
    e.dibHeight = static_cast<std::int32_t>(r.U32());
    e.dibPlanes = r.U16();
    e.dibBitCount = r.U16();
    e.compression = r.U32();
    if (e.headerSize < 40) throw std::runtime_error("bitmap header too short");
    r.Skip(e.headerSize - 20);  // the rest of the header: image size, resolution, colours used
    const int w = e.dibWidth, h = e.dibHeight / 2, bpp = e.dibBitCount;
    if (w <= 0 || w > 256 || h <= 0 || h > 256) throw std::runtime_error("image size out of range");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 32) throw std::runtime_error("unsupported bit count");

    if (bpp <= 8) {
        for (int i = 0; i < (1 << bpp); ++i) {
            const std::uint8_t b = r.U8(), g = r.U8(), red = r.U8();
            r.U8();
            e.palette.push_back({red, g, b, 255});
        }
    }
    const auto count = static_cast<std::size_t>(w) * h;
    e.pixels.resize(count);
    if (bpp <= 8) e.indices.resize(count);
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t rowStart = r.At();
        int bitsLeft = 0;
        unsigned current = 0;
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            if (bpp == 32) {
                const std::uint8_t b = r.U8(), g = r.U8(), red = r.U8(), a = r.U8();
                e.pixels[i] = {red, g, b, a};
                continue;
            }
            if (bitsLeft == 0) { current = r.U8(); bitsLeft = 8; }
            bitsLeft -= bpp;
            const unsigned index = (current >> bitsLeft) & ((1u << bpp) - 1);
            e.indices[i] = static_cast<std::uint8_t>(index);
            e.pixels[i] = e.palette[index];
        }
        r.Skip(rowStart + RowBytes(w, bpp) - r.At());
    }
    e.mask.resize(count);
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t rowStart = r.At();
        unsigned current = 0;
        for (int x = 0; x < w; ++x) {
            if (x % 8 == 0) current = r.U8();
            e.mask[static_cast<std::size_t>(y) * w + x] = (current >> (7 - x % 8)) & 1u;
        }
        r.Skip(rowStart + RowBytes(w, 1) - r.At());
    }
    if (r.At() > bytes.size()) throw std::runtime_error("image runs past the end of the file");
}

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

IcoFile ParseIco(const std::vector<std::uint8_t>& bytes) {
    Reader r(bytes, 0);
    IcoFile file;
    file.fileSize = bytes.size();
    file.reserved = r.U16();
    file.type = r.U16();
    const int count = r.U16();
    for (int i = 0; i < count; ++i) {
        IcoEntry e{};
        e.width = r.U8();
        e.height = r.U8();
        e.colourCount = r.U8();
        e.reserved = r.U8();
        e.planes = r.U16();
        e.bitCount = r.U16();
        e.bytes = r.U32();
        e.offset = r.U32();
        file.entries.push_back(e);
    }
    for (auto& e : file.entries) ReadImage(bytes, e);
    return file;
}
