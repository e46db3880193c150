// Bitmap and TGA readers on files the tests write themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "support/file_builders.h"
#include "platform/sys.h"
#include "formats/images.h"
#include "support/temp_dir.h"

namespace {

using ImagePtr = std::unique_ptr<RgbImage, void (*)(RgbImage *)>;

// Decodes from a heap copy of exactly the given bytes, so a read past the data is caught by
// the address sanitizer.
ImagePtr decode(const Bytes &bytes, const char *name = "test.bmp")
{
    std::unique_ptr<unsigned char[]> copy(new unsigned char[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty())
        std::memcpy(copy.get(), bytes.data(), bytes.size());
    return ImagePtr(decodeDib(bytes.empty() ? nullptr : copy.get(), bytes.size(), name), freeRgbImage);
}

Rgb pixelAt(const RgbImage &image, int x, int y)
{
    const unsigned char *p = image.data + (size_t(y) * image.width + x) * 3;
    return {p[0], p[1], p[2]};
}

std::string lastBoxText() { return Sys_BoxCount() ? Sys_Box(Sys_BoxCount() - 1).text : ""; }

class BmpTest : public ::testing::Test {
protected:
    void SetUp() override { Sys_SetAutoAnswer(IDOK); boxesBefore = Sys_BoxCount(); }
    int newBoxes() const { return Sys_BoxCount() - boxesBefore; }
    int boxesBefore = 0;
};

const std::vector<Rgb> kPalette16 = {{0, 0, 0},     {255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                     {255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {10, 20, 30},
                                     {40, 50, 60},  {70, 80, 90},  {1, 2, 3},     {4, 5, 6},
                                     {7, 8, 9},     {11, 12, 13},  {14, 15, 16},  {250, 251, 252}};

// Every depth and header shape arrives as the same 24-bit RGB picture, padding removed.
TEST_F(BmpTest, EveryDepthAndHeaderArrivesAsRgbRowsWithoutPadding)
{
    struct Case {
        int bits;
        bool fileHeader, core;
        int width;
    } cases[] = {
        {1, true, false, 9},  {4, true, false, 5},  {8, true, false, 3},   {24, true, false, 3},
        {32, true, false, 3}, {8, false, false, 7}, {24, false, false, 1}, {4, false, true, 6},
        {8, true, true, 5},   {24, false, true, 2}, {1, false, true, 17},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, file header " << c.fileHeader << ", core " << c.core
                                        << ", width " << c.width);
        BmpLayout s;
        s.width = c.width;
        s.height = 3;
        s.bits = c.bits;
        s.fileHeader = c.fileHeader;
        s.coreHeader = c.core;
        int colours = c.bits == 1 ? 2 : c.bits == 4 ? 16 : c.bits == 8 ? 16 : 0;
        if (c.bits == 8)
            s.colorsUsed = c.core ? 0 : 16;
        if (colours)
            s.palette.assign(kPalette16.begin(), kPalette16.begin() + colours);
        if (c.bits == 8 && c.core)
            s.palette.resize(256, Rgb{9, 9, 9}); // a core header always carries the full table
        auto expect = [&](int x, int row) -> Rgb {
            if (colours) {
                unsigned i = unsigned(x + 3 * row) % unsigned(colours);
                return kPalette16[i];
            }
            return Rgb{(unsigned char)(x * 40 + 1), (unsigned char)(row * 70 + 2), (unsigned char)(x + row + 3)};
        };
        s.pixel = [&](int x, int row) -> uint32_t {
            if (colours)
                return unsigned(x + 3 * row) % unsigned(colours);
            Rgb e = expect(x, row);
            return uint32_t(e.r) << 16 | uint32_t(e.g) << 8 | e.b;
        };
        ImagePtr image = decode(makeBmp(s));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, c.width);
        EXPECT_EQ(image->height, 3);
        for (int y = 0; y < 3; y++)
            for (int x = 0; x < c.width; x++)
                ASSERT_EQ(pixelAt(*image, x, y), expect(x, y)) << "pixel " << x << "," << y;
    }
    EXPECT_EQ(newBoxes(), 0);
}

TEST_F(BmpTest, TopDownRowsArriveBottomRowFirst)
{
    BmpLayout s;
    s.width = 2;
    s.height = -3;
    s.pixel = [](int, int row) { return uint32_t(row * 50) << 16; };
    ImagePtr image = decode(makeBmp(s));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->height, 3);
    EXPECT_EQ(pixelAt(*image, 0, 0).r, 100); // the file's last row is the picture's bottom
    EXPECT_EQ(pixelAt(*image, 0, 2).r, 0);
}

TEST_F(BmpTest, PaletteIndexPastTheTableIsBlack)
{
    BmpLayout s;
    s.bits = 8;
    s.width = 4;
    s.fileHeader = false; // pixel data follows the short table directly
    s.colorsUsed = 2;
    s.palette = {{200, 100, 50}, {1, 2, 3}};
    s.pixel = [](int x, int) { return uint32_t(x == 0 ? 0 : 200); };
    ImagePtr image = decode(makeBmp(s));
    ASSERT_TRUE(image);
    EXPECT_EQ(pixelAt(*image, 0, 0), (Rgb{200, 100, 50}));
    EXPECT_EQ(pixelAt(*image, 1, 0), (Rgb{0, 0, 0}));
}

TEST_F(BmpTest, ZeroByteFileReportsFailedToOpenWithItsName)
{
    TempDir dir;
    std::string path = dir.write("empty.bmp", {});
    EXPECT_EQ(loadBmpImage(path.c_str()), nullptr);
    ASSERT_EQ(newBoxes(), 1);
    EXPECT_EQ(lastBoxText(), "Failed to open DIB file " + path + ".\n");
    EXPECT_STREQ(Sys_Box(Sys_BoxCount() - 1).title, "Error");
}

TEST_F(BmpTest, MissingFileAndNullNameFailSilently)
{
    EXPECT_EQ(loadBmpImage("/nonexistent/cobalt/none.bmp"), nullptr);
    EXPECT_EQ(loadBmpImage(nullptr), nullptr);
    EXPECT_EQ(newBoxes(), 0);
}

TEST_F(BmpTest, FileOnDiskWithBackslashPathLoads)
{
    TempDir dir;
    BmpLayout s;
    s.width = 3;
    s.height = 2;
    s.pixel = [](int x, int) { return 0x102030u * uint32_t(x + 1); };
    std::string path = dir.write("sub/pic.bmp", makeBmp(s));
    std::string gamePath = dir.path.string() + "\\sub\\pic.bmp";
    ImagePtr image(loadBmpImage(gamePath.c_str()), freeRgbImage);
    ASSERT_TRUE(image);
    EXPECT_EQ(pixelAt(*image, 2, 1), (Rgb{0x30, 0x60, 0x90}));
}

TEST_F(BmpTest, MalformedHeadersAreRefusedWithTheirMessage)
{
    BmpLayout good;
    good.width = 4;
    good.height = 4;
    Bytes base = makeBmp(good);
    auto withHeader32 = [&](size_t at, uint32_t v) {
        Bytes b = base;
        Bytes value;
        put32(value, v);
        std::copy(value.begin(), value.end(), b.begin() + std::ptrdiff_t(at));
        return b;
    };
    struct Case {
        const char *what;
        Bytes bytes;
        const char *message;
    } cases[] = {
        {"header size 108", withHeader32(14, 108), "Unknown DIB file format."},
        {"header size 0", withHeader32(14, 0), "Unknown DIB file format."},
        {"file header only", Bytes(base.begin(), base.begin() + 16), "Unknown DIB file format."},
        {"header cut short", Bytes(base.begin(), base.begin() + 40), "Unknown DIB file format."},
        {"run-length compression", withHeader32(14 + 16, 1), "Image file conversion error."},
        {"zero width", withHeader32(14 + 4, 0), "Image file conversion error."},
        {"negative width", withHeader32(14 + 4, uint32_t(-4)), "Image file conversion error."},
        {"huge width", withHeader32(14 + 4, 1u << 30), "Image file conversion error."},
        {"huge height", withHeader32(14 + 8, 1u << 30), "Image file conversion error."},
        {"most negative height", withHeader32(14 + 8, 0x80000000u), "Image file conversion error."},
        {"zero height", withHeader32(14 + 8, 0), "Image file conversion error."},
        {"bit count 7", [&] { Bytes b = base; b[14 + 14] = 7; return b; }(), "Image file conversion error."},
        {"colour count past the end", withHeader32(14 + 32, 0xFFFFFFFFu), "Image file conversion error."},
        {"pixel offset past the end", withHeader32(10, 0xFFFFFFF0u), "Image file conversion error."},
        {"last row missing", Bytes(base.begin(), base.end() - 1), "Image file conversion error."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        int before = Sys_BoxCount();
        EXPECT_FALSE(decode(c.bytes));
        ASSERT_EQ(Sys_BoxCount(), before + 1);
        EXPECT_EQ(lastBoxText(), c.message);
    }
}

// Every prefix of valid files, and every single-byte corruption of the headers, is either
// refused or decoded, never read past.
TEST_F(BmpTest, EveryTruncationAndHeaderByteCorruptionIsSafe)
{
    BmpLayout pal;
    pal.bits = 4;
    pal.width = 5;
    pal.height = 3;
    pal.palette = kPalette16;
    pal.pixel = [](int x, int row) { return uint32_t(x + row); };
    BmpLayout core = pal;
    core.coreHeader = true;
    core.fileHeader = false;
    for (const Bytes &file : {makeBmp(pal), makeBmp(core)}) {
        for (size_t n = 0; n < file.size(); n++)
            decode(Bytes(file.begin(), file.begin() + n));
        for (size_t at = 0; at < 60 && at < file.size(); at++)
            for (unsigned v : {0x00u, 0x01u, 0x7Fu, 0x80u, 0xFFu}) {
                Bytes b = file;
                b[at] = (unsigned char)v;
                decode(b);
            }
    }
}

// ---- TGA ----

TEST(TgaTest, TwentyFourAndThirtyTwoBitsArriveAsRgbAndRgba)
{
    Bytes rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    Bytes file = makeTga(2, 2, 24, rgb);
    TgaImage image;
    ASSERT_TRUE(decodeTga(file.data(), file.size(), &image));
    EXPECT_EQ(image.bytesPerPixel, 3);
    EXPECT_EQ(Bytes(image.pixels, image.pixels + 12), rgb);
    delete[] image.pixels;

    Bytes rgba = {1, 2, 3, 4, 5, 6, 7, 8};
    file = makeTga(1, 2, 32, rgba);
    ASSERT_TRUE(decodeTga(file.data(), file.size(), &image));
    EXPECT_EQ(image.bytesPerPixel, 4);
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(Bytes(image.pixels, image.pixels + 8), rgba);
    delete[] image.pixels;
}

TEST(TgaTest, OtherKindsAndShortFilesAreRefused)
{
    Bytes px(4 * 4 * 4, 7);
    const Bytes whole = makeTga(4, 4, 32, px);
    struct Case {
        const char *what;
        Bytes bytes;
    } cases[] = {
        {"run-length", makeTga(4, 4, 32, px, 10)},
        {"colour-mapped", makeTga(4, 4, 32, px, 1, 0, 1)},
        {"colour map on true colour", makeTga(4, 4, 32, px, 2, 0, 1)},
        {"image id", makeTga(4, 4, 32, px, 2, 5)},
        {"16 bits", makeTga(4, 4, 16, px)},
        {"8 bits", makeTga(4, 4, 8, px)},
        {"zero width", makeTga(0, 4, 32, px)},
        {"short pixels", [&] { Bytes b = makeTga(4, 4, 32, px); b.pop_back(); return b; }()},
        {"header only", Bytes(whole.begin(), whole.begin() + 18)},
        {"header cut", Bytes(whole.begin(), whole.begin() + 17)},
        {"huge size", makeTga(65535, 65535, 32, px)},
        {"empty", Bytes{}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<unsigned char[]> copy(new unsigned char[c.bytes.size() + 1]);
        if (!c.bytes.empty())
            std::memcpy(copy.get(), c.bytes.data(), c.bytes.size());
        TgaImage image;
        EXPECT_FALSE(decodeTga(copy.get(), c.bytes.size(), &image));
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST(TgaTest, ExtraBytesAfterThePixelsAreIgnoredAndFilesLoadFromDisk)
{
    TempDir dir;
    Bytes file = makeTga(1, 1, 24, {9, 8, 7});
    file.insert(file.end(), 26, 0); // a file footer
    std::string path = dir.write("a.tga", file);
    TgaImage image;
    ASSERT_TRUE(readTgaFile(path.c_str(), &image));
    EXPECT_EQ(image.pixels[0], 9);
    EXPECT_EQ(image.pixels[2], 7);
    delete[] image.pixels;
    EXPECT_FALSE(readTgaFile(dir.file("missing.tga").c_str(), &image));
    EXPECT_FALSE(readTgaFile(nullptr, &image));
}

} // namespace
