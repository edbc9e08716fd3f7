// Runs make_icons into a fresh directory and checks the icon files it writes.
#include "ico_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr IcoColour kCyan{0, 204, 255, 255};
constexpr IcoColour kDarkBlue{0, 0, 102, 255};
constexpr IcoColour kLightGrey{218, 218, 218, 255};
constexpr IcoColour kNearBlack{4, 4, 4, 255};
const char* const kIconNames[] = {"ready.ico", "not_ready.ico", "app.ico", "skyprobe.ico"};

class MakeIconsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(fs::temp_directory_path() / ("make_icons_test_" + std::to_string(std::random_device{}())));
        const std::string quotedDir = "\"" + dir_->string() + "\"";
        const std::string command = std::string("\"") + MAKE_ICONS_PATH + "\" " + quotedDir + " " + quotedDir;
        exitCode_ = std::system(command.c_str());
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(*dir_, ignored);
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(exitCode_, 0) << "make_icons failed"; }

    static std::vector<std::uint8_t> Bytes(const char* name) { return ReadFileBytes((*dir_ / name).string()); }
    static IcoFile Icon(const char* name) { return ParseIco(Bytes(name)); }

    static fs::path* dir_;
    static int exitCode_;
};

fs::path* MakeIconsTest::dir_ = nullptr;
int MakeIconsTest::exitCode_ = -1;

bool Drawn(const IcoEntry& face, int x, int y) { return face.indices[static_cast<std::size_t>(y) * 16 + x] != 0; }

// Row of the first drawn pixel of column x in the lower half of the face, below the eyes.
int MouthRow(const IcoEntry& face, int x) {
    for (int y = 8; y < 12; ++y) {
        if (Drawn(face, x, y)) return y;
    }
    return -1;
}

// Positive when the mouth's middle sits lower than its corners (a smile), negative for a frown.
int MouthCurve(const IcoEntry& face) {
    int corner = 3;
    while (corner < 8 && MouthRow(face, corner) < 0) ++corner;
    EXPECT_LT(corner, 7) << "no mouth found";
    return MouthRow(face, 7) - MouthRow(face, corner);
}

void ExpectTwoColourFace(const IcoEntry& face, IcoColour outline, IcoColour background) {
    ASSERT_EQ(face.palette.size(), 256u);
    int outlinePixels = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const IcoColour c = face.At(x, y);
            EXPECT_TRUE(c == outline || c == background) << "pixel " << x << "," << y;
            EXPECT_EQ(Drawn(face, x, y), c == outline) << "pixel " << x << "," << y;
            outlinePixels += c == outline;
        }
    }
    EXPECT_GT(outlinePixels, 30) << "too few outline pixels to show a face";
    for (auto [x, y] : {std::pair{0, 0}, {15, 0}, {0, 15}, {15, 15}}) EXPECT_EQ(face.At(x, y), background);
    EXPECT_TRUE(std::none_of(face.mask.begin(), face.mask.end(), [](bool m) { return m; })) << "not opaque";
}

using SizesAndDepths = std::multiset<std::pair<int, int>>;

// What each icon holds: the size and bits per pixel of each image.
const std::map<std::string, SizesAndDepths> kImages{
    {"ready.ico", {{16, 8}, {20, 32}, {24, 32}, {32, 32}, {40, 32}, {48, 32}}},
    {"not_ready.ico", {{16, 8}, {20, 32}, {24, 32}, {32, 32}, {40, 32}, {48, 32}}},
    {"app.ico", {{256, 32}, {64, 32}, {48, 4}, {48, 8}, {48, 32}, {40, 32}, {32, 4}, {32, 8}, {32, 32}, {24, 32},
                 {20, 32}, {16, 4}, {16, 8}, {16, 32}}},
    {"skyprobe.ico", {{48, 32}, {40, 32}, {32, 32}, {24, 32}, {20, 32}, {16, 32}}}};

TEST_F(MakeIconsTest, EveryFile_IsAWellFormedIconDirectory) {
    for (const char* name : kIconNames) {
        SCOPED_TRACE(name);
        const IcoFile icon = Icon(name);
        EXPECT_EQ(icon.reserved, 0);
        EXPECT_EQ(icon.type, 1);
        SizesAndDepths found;
        std::size_t next = 6 + 16 * icon.entries.size();
        for (const IcoEntry& e : icon.entries) {
            EXPECT_EQ(e.offset, next) << "images must follow each other without gaps";
            next = e.offset + e.bytes;
            if (e.png) {
                // Images above 48 pixels and the smooth ones are compressed: 8-bit RGBA, 256 written as 0.
                found.insert({e.pngWidth, e.bitCount});
                EXPECT_EQ(e.width, e.pngWidth % 256);
                EXPECT_EQ(e.height, e.pngWidth % 256);
                EXPECT_EQ(e.pngHeight, e.pngWidth);
                EXPECT_EQ(e.bitCount, 32);
                EXPECT_EQ(e.pngBitDepth, 8);
                EXPECT_EQ(e.pngColourType, 6);
                EXPECT_EQ(e.colourCount, 0);
                EXPECT_EQ(e.planes, 1);
                continue;
            }
            const int size = e.width;
            found.insert({size, e.bitCount});
            const std::size_t palette = e.bitCount <= 8 ? (std::size_t{4} << e.bitCount) : 0;
            const std::size_t colourRow = (size * e.bitCount + 31) / 32 * 4, maskRow = (size + 31) / 32 * 4;
            EXPECT_EQ(e.bytes, 40 + palette + (colourRow + maskRow) * size);
            EXPECT_EQ(e.height, size);
            EXPECT_EQ(e.colourCount, e.bitCount == 4 ? 16 : 0);
            EXPECT_EQ(e.reserved, 0);
            EXPECT_EQ(e.planes, 1);
            EXPECT_EQ(e.headerSize, 40u);
            EXPECT_EQ(e.dibWidth, size);
            EXPECT_EQ(e.dibHeight, 2 * size) << "height counts colour and mask rows";
            EXPECT_EQ(e.dibPlanes, 1);
            EXPECT_EQ(e.dibBitCount, e.bitCount);
            EXPECT_EQ(e.compression, 0u);
        }
        EXPECT_EQ(next, icon.fileSize);
        EXPECT_EQ(found, kImages.at(name));
    }
}

std::uint64_t Fnv1a(const std::uint8_t* bytes, std::size_t count) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (std::size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3u;
    return hash;
}

// The notification area shows the 16x16 images at 100 %; they must stay exactly the pixels users know.
TEST_F(MakeIconsTest, FaceIcons_KeepTheir16x16ImagesAsShippedInVersion1) {
    for (auto [name, hash] : {std::pair{"ready.ico", 0xf60e7d58b89ebf94u}, {"not_ready.ico", 0xbaee013a5eaba4a7u}}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes = Bytes(name);
        const IcoEntry small = ParseIco(bytes).entries.at(0);
        ASSERT_EQ(small.width, 16);
        ASSERT_EQ(small.bitCount, 8);
        EXPECT_EQ(Fnv1a(&bytes[small.offset], small.bytes), hash);
    }
}

TEST_F(MakeIconsTest, ReadyIcon_IsACyanOutlineOnDarkBlue) {
    const IcoFile icon = Icon("ready.ico");
    const IcoEntry& face = icon.entries.at(0);
    ASSERT_EQ(face.width, 16);
    ASSERT_EQ(face.bitCount, 8);
    ExpectTwoColourFace(face, kCyan, kDarkBlue);
}

TEST_F(MakeIconsTest, NotReadyIcon_IsALightGreyOutlineOnNearBlack) {
    const IcoFile icon = Icon("not_ready.ico");
    const IcoEntry& face = icon.entries.at(0);
    ASSERT_EQ(face.width, 16);
    ASSERT_EQ(face.bitCount, 8);
    ExpectTwoColourFace(face, kLightGrey, kNearBlack);
}

TEST_F(MakeIconsTest, Faces_ShareHeadAndEyes_AndOnlyTheReadyOneSmiles) {
    const IcoEntry ready = Icon("ready.ico").entries.at(0);
    const IcoEntry notReady = Icon("not_ready.ico").entries.at(0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(Drawn(ready, x, y), Drawn(ready, 15 - x, y)) << "ready face lopsided at " << x << "," << y;
            EXPECT_EQ(Drawn(notReady, x, y), Drawn(notReady, 15 - x, y)) << "not-ready face lopsided";
            if (y < 8 || y > 11) {
                EXPECT_EQ(Drawn(ready, x, y), Drawn(notReady, x, y)) << "at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(MouthCurve(ready), 0);
    EXPECT_LT(MouthCurve(notReady), 0);
}

TEST_F(MakeIconsTest, AppIcon_ShowsAPictureWithSeeThroughCorners) {
    for (const IcoEntry& e : Icon("app.ico").entries) {
        if (e.png) continue;
        SCOPED_TRACE(std::to_string(e.width) + " pixels, " + std::to_string(e.bitCount) + " bits");
        const int last = e.width - 1, mid = e.width / 2;
        for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
            EXPECT_TRUE(e.MaskedAt(x, y));
            // Masked pixels must add nothing over the screen: black, or fully transparent.
            EXPECT_EQ(e.At(x, y), (IcoColour{0, 0, 0, static_cast<std::uint8_t>(e.bitCount == 32 ? 0 : 255)}));
        }
        EXPECT_FALSE(e.MaskedAt(mid, mid));
        std::set<std::uint32_t> colours;
        for (std::size_t i = 0; i < e.pixels.size(); ++i) {
            const IcoColour c = e.pixels[i];
            if (e.bitCount == 32) {
                EXPECT_EQ(e.mask[i], c.a == 0) << "mask and alpha disagree at " << i;
            }
            if (!e.mask[i]) colours.insert(c.r << 16 | c.g << 8 | c.b);
        }
        EXPECT_GE(colours.size(), 4u) << "the picture has too few colours to show anything";
    }
}

TEST_F(MakeIconsTest, CommittedIcons_EqualAFreshGeneration) {
    for (const char* name : kIconNames) {
        const char* dir = name == std::string("skyprobe.ico") ? PROBE_ICONS_DIR : COMMITTED_ICONS_DIR;
        const fs::path committed = fs::path(dir) / name;
        ASSERT_TRUE(fs::exists(committed)) << committed << " is missing";
        EXPECT_TRUE(ReadFileBytes(committed.string()) == Bytes(name))
            << committed << " differs from what make_icons draws now; regenerate it with the `icons` target";
    }
}

}  // namespace
