#include "ico_writer.h"

#include "png_writer.h"

#include <cstddef>
#include <stdexcept>

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;

class ByteSink {
public:
    explicit ByteSink(std::vector<std::uint8_t>& out) : out_(out) {}
    void U8(unsigned v) { out_.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v) { U8(v & 0xFF); U8(v >> 8); }
    void U32(std::uint32_t v) { U16(v & 0xFFFF); U16(v >> 16); }
    void PadTo4(std::size_t rowStart) { while ((out_.size() - rowStart) % 4 != 0) U8(0); }
private:
    std::vector<std::uint8_t>& out_;
};

std::size_t RowBytes(int size, int bitsPerPixel) {
    return (static_cast<std::size_t>(size) * bitsPerPixel + 31) / 32 * 4;
}

int BitsPerPixel(const IconImage& image) {
    if (const auto* p = std::get_if<PalettedImage>(&image)) return p->bitsPerPixel;
    return 32;
}

int Size(const IconImage& image) {
    return std::visit([](const auto& i) { return i.size; }, image);
}

std::size_t PaletteEntries(const IconImage& image) {
    const int bpp = BitsPerPixel(image);
    return bpp <= 8 ? std::size_t{1} << bpp : 0;
}

const TrueColourImage* Compressed(const IconImage& image) {
    const auto* t = std::get_if<TrueColourImage>(&image);
    return t && t->compressed ? t : nullptr;
}

std::size_t ImageBytes(const IconImage& image) {
    const int size = Size(image);
    return kInfoHeaderSize + PaletteEntries(image) * 4 + RowBytes(size, BitsPerPixel(image)) * size
        + RowBytes(size, 1) * size;
}

void CheckShape(const IconImage& image) {
    const int size = Size(image);
    if (size < 1 || size > 256) throw std::invalid_argument("icon size out of range");
    const auto count = static_cast<std::size_t>(size) * size;
    if (const auto* p = std::get_if<PalettedImage>(&image)) {
        if ((p->bitsPerPixel != 4 && p->bitsPerPixel != 8) || p->palette.size() != PaletteEntries(image)
            || p->indices.size() != count || p->transparent.size() != count) {
            throw std::invalid_argument("malformed paletted image");
        }
        for (auto index : p->indices) {
            if (index >= p->palette.size()) throw std::invalid_argument("palette index out of range");
        }
    } else if (std::get<TrueColourImage>(image).pixels.size() != count) {
        throw std::invalid_argument("malformed true-colour image");
    }
}

void WriteColourRows(std::vector<std::uint8_t>& out, const PalettedImage& image) {
    ByteSink sink(out);
    for (auto& c : image.palette) { sink.U8(c.b); sink.U8(c.g); sink.U8(c.r); sink.U8(0); }
    for (int y = image.size - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        const std::uint8_t* row = &image.indices[static_cast<std::size_t>(y) * image.size];
        if (image.bitsPerPixel == 8) {
            for (int x = 0; x < image.size; ++x) sink.U8(row[x]);
        } else {
            for (int x = 0; x < image.size; x += 2) {
                sink.U8((row[x] << 4) | (x + 1 < image.size ? row[x + 1] : 0));
            }
        }
        sink.PadTo4(rowStart);
    }
}

void WriteColourRows(std::vector<std::uint8_t>& out, const TrueColourImage& image) {
    ByteSink sink(out);
    for (int y = image.size - 1; y >= 0; --y) {
        for (int x = 0; x < image.size; ++x) {
            const Rgba& c = image.pixels[static_cast<std::size_t>(y) * image.size + x];
            sink.U8(c.b); sink.U8(c.g); sink.U8(c.r); sink.U8(c.a);
        }
    }
}

// The AND mask: one bit per pixel, set where the screen shows through.
void WriteMaskRows(std::vector<std::uint8_t>& out, const IconImage& image) {
    const int size = Size(image);
    auto seeThrough = [&](int x, int y) {
        const auto i = static_cast<std::size_t>(y) * size + x;
        if (const auto* p = std::get_if<PalettedImage>(&image)) return static_cast<bool>(p->transparent[i]);
        return std::get<TrueColourImage>(image).pixels[i].a == 0;
    };
    ByteSink sink(out);
    for (int y = size - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < size; x += 8) {
            unsigned bits = 0;
            for (int b = 0; b < 8; ++b) {
                if (x + b < size && seeThrough(x + b, y)) bits |= 0x80u >> b;
            }
            sink.U8(bits);
        }
        sink.PadTo4(rowStart);
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeIcoFile(const std::vector<IconImage>& images) {
    if (images.empty() || images.size() > 0xFFFF) throw std::invalid_argument("an icon holds 1 to 65535 images");
    for (auto& image : images) CheckShape(image);

    std::vector<std::uint8_t> out;
    ByteSink sink(out);
    sink.U16(0);
    sink.U16(1);  // resource type: icon
    sink.U16(static_cast<unsigned>(images.size()));

    std::vector<std::vector<std::uint8_t>> pngs(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (const auto* t = Compressed(images[i])) pngs[i] = EncodePng(*t);
    }

    auto offset = static_cast<std::uint32_t>(kDirectoryHeaderSize + kDirectoryEntrySize * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        const int size = Size(image);
        const int bpp = BitsPerPixel(image);
        const auto bytes = static_cast<std::uint32_t>(Compressed(image) ? pngs[i].size() : ImageBytes(image));
        sink.U8(static_cast<unsigned>(size) & 0xFF);  // 256 is written as 0
        sink.U8(static_cast<unsigned>(size) & 0xFF);
        sink.U8(bpp < 8 ? 1u << bpp : 0u);  // colour count, 0 when 256 or more
        sink.U8(0);
        sink.U16(1);  // planes
        sink.U16(static_cast<unsigned>(bpp));
        sink.U32(bytes);
        sink.U32(offset);
        offset += bytes;
    }

    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        if (Compressed(image)) {
            out.insert(out.end(), pngs[i].begin(), pngs[i].end());
            continue;
        }
        const int size = Size(image);
        const int bpp = BitsPerPixel(image);
        sink.U32(kInfoHeaderSize);
        sink.U32(static_cast<std::uint32_t>(size));
        sink.U32(static_cast<std::uint32_t>(size * 2));  // colour rows and mask rows together
        sink.U16(1);
        sink.U16(static_cast<unsigned>(bpp));
        sink.U32(0);  // BI_RGB
        sink.U32(static_cast<std::uint32_t>((RowBytes(size, bpp) + RowBytes(size, 1)) * size));
        sink.U32(0);
        sink.U32(0);
        sink.U32(0);
        sink.U32(0);
        std::visit([&](const auto& i) { WriteColourRows(out, i); }, image);
        WriteMaskRows(out, image);
    }
    return out;
}
