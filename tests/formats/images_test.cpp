// Bitmap and TGA readers on files the tests write themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "support/file_builders.h"
#include "platform/sys.h"
#include "formats/images.h"
#include "support/temp_dir.h"

namespace {

using ImagePtr = std::unique_ptr<RgbImage, void (*)(RgbImage *)>;

// A heap copy of exactly the given bytes, so a read past the data is caught by the address
// sanitizer.
std::unique_ptr<unsigned char[]> heapCopy(const Bytes &bytes)
{
    std::unique_ptr<unsigned char[]> copy(new unsigned char[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty())
        std::memcpy(copy.get(), bytes.data(), bytes.size());
    return copy;
}

ImagePtr decode(const Bytes &bytes, bool keepAlpha = false, const char *name = "test.bmp")
{
    auto copy = heapCopy(bytes);
    return ImagePtr(decodeDib(bytes.empty() ? nullptr : copy.get(), bytes.size(), name, keepAlpha), freeRgbImage);
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

// Every header version, with and without the file header, arrives as the same 24-bit RGB picture,
// padding removed. (Behind a file header, the 40-byte header is left to the saved pictures below.)
TEST_F(BmpTest, EveryDepthAndHeaderArrivesAsRgbRowsWithoutPadding)
{
    struct Case {
        int bits;
        bool fileHeader;
        int headerSize;
        int width;
    } cases[] = {
        {8, false, 40, 7},  {24, false, 40, 1}, {4, false, 12, 6},  {24, false, 12, 2}, {1, false, 12, 17},
        {8, true, 16, 5},   {4, false, 16, 3},  {24, false, 64, 5}, {4, true, 64, 7},   {8, false, 52, 2},
        {1, true, 56, 11},  {24, false, 56, 3}, {4, false, 108, 9}, {24, true, 108, 1}, {8, true, 124, 6},
        {32, false, 124, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, file header " << c.fileHeader << ", header size "
                                        << c.headerSize << ", width " << c.width);
        BmpLayout s;
        s.width = c.width;
        s.height = 3;
        s.bits = c.bits;
        s.fileHeader = c.fileHeader;
        s.headerSize = c.headerSize;
        int colours = c.bits == 1 ? 2 : c.bits == 4 ? 16 : c.bits == 8 ? 16 : 0;
        if (colours)
            s.palette.assign(kPalette16.begin(), kPalette16.begin() + colours);
        if (c.bits == 8 && c.headerSize >= 40)
            s.colorsUsed = 16; // a table shorter than 2^bits
        else if (c.bits == 8)
            s.palette.resize(256, Rgb{9, 9, 9}); // no used-colours field: the full table
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

// Each mask layout puts its channels where they belong and scales them full range to full
// range; alpha comes only from an alpha mask of a bit-field picture.
TEST_F(BmpTest, BitFieldMasksPlaceAndScaleEveryChannel)
{
    struct Rgba {
        int r, g, b, a; // a < 0: the picture has no alpha
    };
    struct Case {
        const char *what;
        int headerSize, bits;
        uint32_t compression;
        std::vector<uint32_t> masks, pixels;
        std::vector<Rgba> expect;
    } cases[] = {
        {"5-6-5 after a 40-byte header", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, {0xFFFF, 0x1863, 0x8410, 0},
         {{255, 255, 255, -1}, {25, 12, 25, -1}, {132, 130, 132, -1}, {0, 0, 0, -1}}},
        {"5-5-5 masks in a 52-byte header, top bit unused", 52, 16, 3, {0x7C00, 0x03E0, 0x001F}, {0x7FFF, 0x8443},
         {{255, 255, 255, -1}, {8, 16, 25, -1}}},
        {"4-4-4-4 in a 56-byte header", 56, 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}, {0x8F5A, 0x0123},
         {{255, 85, 170, 136}, {17, 34, 51, 0}}},
        {"1-5-5-5 alpha bit fields after a 40-byte header", 40, 16, 6, {0x7C00, 0x03E0, 0x001F, 0x8000},
         {0x8000, 0x7C00}, {{0, 0, 0, 255}, {255, 0, 0, 0}}},
        {"a channel left out", 52, 16, 3, {0xF800, 0, 0x001F}, {0xFFFF}, {{255, 0, 255, -1}}},
        {"uncompressed 16 bits are 5-5-5", 40, 16, 0, {}, {0xFFFF, 0x0421}, {{255, 255, 255, -1}, {8, 8, 8, -1}}},
        {"uncompressed 32 bits ignore the alpha mask of the header", 124, 32, 0,
         {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {0x80102030}, {{0x10, 0x20, 0x30, -1}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        BmpLayout s;
        s.headerSize = c.headerSize;
        s.bits = c.bits;
        s.compression = c.compression;
        s.masks = c.masks;
        s.width = int(c.pixels.size());
        s.height = -2; // top-down: the first row is the top one
        s.pixel = [&](int x, int row) { return row == 0 ? c.pixels[size_t(x)] : 0u; };
        ImagePtr image = decode(makeBmp(s), true);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->alpha != nullptr, c.expect[0].a >= 0);
        for (int x = 0; x < s.width; x++) {
            const Rgba &e = c.expect[size_t(x)];
            EXPECT_EQ(pixelAt(*image, x, 1), (Rgb{(unsigned char)e.r, (unsigned char)e.g, (unsigned char)e.b}))
                << "pixel " << x;
            if (image->alpha && e.a >= 0) {
                EXPECT_EQ(image->alpha[s.width + x], e.a) << "pixel " << x;
            }
        }
    }
    EXPECT_EQ(newBoxes(), 0);
}

// Run-length pictures, as index grids: one string per line, bottom line first, '.' for a
// pixel the stream leaves out (black).
struct RleCase {
    const char *what;
    int bits, width, height;
    Bytes stream;
    std::vector<const char *> expect; // empty: refused
};

void checkRle(const RleCase &c)
{
    SCOPED_TRACE(c.what);
    BmpLayout s;
    s.bits = c.bits;
    s.compression = c.bits == 8 ? 1 : 2;
    s.width = c.width;
    s.height = c.height;
    s.palette = kPalette16;
    s.colorsUsed = 16;
    s.rle = c.stream;
    int before = Sys_BoxCount();
    ImagePtr image = decode(makeBmp(s));
    if (c.expect.empty()) {
        EXPECT_FALSE(image);
        ASSERT_EQ(Sys_BoxCount(), before + 1);
        EXPECT_EQ(lastBoxText(), "Image file conversion error.");
        return;
    }
    ASSERT_TRUE(image);
    EXPECT_EQ(Sys_BoxCount(), before);
    for (int y = 0; y < image->height; y++)
        for (int x = 0; x < image->width; x++) {
            char e = c.expect[size_t(y)][x];
            Rgb want = e == '.' ? Rgb{0, 0, 0} : kPalette16[size_t(std::stoi(std::string(1, e), nullptr, 16))];
            EXPECT_EQ(pixelAt(*image, x, y), want) << "pixel " << x << "," << y;
        }
}

// What no encoder at hand writes (4-bit runs, absolute runs with their padding, delta moves, early
// ends of line and of picture, a stream that stops after its last line) decodes. Damaged streams
// never write outside the picture: runs past the end of a line are cut there, everything else that
// leaves the picture, or a stream that stops early, is refused.
TEST_F(BmpTest, RunLengthCodesNoEncoderWritesDecodeAndDamagedStreamsAreClippedOrRefused)
{
    const RleCase cases[] = {
        {"4-bit runs, absolute run with pad, delta",
         4,
         7,
         3,
         {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 5, 0x67, 0x89, 0xA0, 0, 0, 2, 1, 1, 1, 0xB0, 0, 1},
         {"1212345", "6789A..", "......B"}},
        {"8-bit absolute run with pad, early end of line, no end marker after the last line",
         8,
         5,
         3,
         {0, 3, 1, 2, 3, 0, 2, 15, 0, 0, 3, 4, 0, 0, 5, 7, 0, 0},
         {"123FF", "444..", "77777"}},
        {"end of picture before the last line", 8, 4, 2, {2, 1, 0, 1}, {"11..", "...."}},
        {"delta to the end of the picture", 8, 3, 2, {1, 9, 0, 2, 2, 2, 0, 1}, {"9..", "..."}},
        {"index past the table is black", 8, 2, 1, {1, 200, 1, 3, 0, 1}, {".3"}},
        {"run past the line", 8, 4, 2, {6, 1, 0, 0, 4, 2, 0, 1}, {"1111", "2222"}},
        {"absolute run past the line", 8, 4, 1, {0, 6, 1, 2, 3, 4, 5, 6, 0, 1}, {"1234"}},
        {"4-bit run past the line", 4, 3, 1, {5, 0x12, 0, 1}, {"121"}},
        {"run after the last line", 8, 4, 2, {4, 1, 0, 0, 4, 2, 0, 0, 1, 3, 0, 1}, {}},
        {"absolute run after the last line", 8, 1, 1, {1, 1, 0, 0, 0, 3, 1, 1, 1, 0, 0, 1}, {}},
        {"delta past the right edge", 8, 4, 2, {0, 2, 5, 0, 0, 1}, {}},
        {"delta past the top", 8, 4, 2, {0, 2, 0, 3, 0, 1}, {}},
        {"delta cut short", 8, 4, 2, {0, 2, 1}, {}},
        {"absolute run cut short", 8, 4, 2, {0, 5, 1, 2}, {}},
        {"missing end marker", 8, 4, 2, {4, 1, 0, 0}, {}},
        {"a single byte", 4, 4, 2, {7}, {}},
    };
    for (const RleCase &c : cases)
        checkRle(c);
}

// From disk a zero-byte file is reported with its name, a missing file or no name fail silently.
// (Whole pictures from disk are the generated textures' test.)
TEST_F(BmpTest, OnlyAnEmptyFileIsReported)
{
    TempDir dir;
    EXPECT_EQ(loadBmpImage("/nonexistent/cobalt/none.bmp"), nullptr);
    EXPECT_EQ(loadBmpImage(nullptr), nullptr);
    EXPECT_EQ(newBoxes(), 0);
    std::string path = dir.write("empty.bmp", {});
    EXPECT_EQ(loadBmpImage(path.c_str()), nullptr);
    ASSERT_EQ(newBoxes(), 1);
    EXPECT_EQ(lastBoxText(), "Failed to open DIB file " + path + ".\n");
    EXPECT_STREQ(Sys_Box(Sys_BoxCount() - 1).title, "Error");
}

Bytes bmpWith(int headerSize, int bits, uint32_t compression, std::vector<uint32_t> masks = {}, int height = 2)
{
    BmpLayout s;
    s.headerSize = headerSize;
    s.bits = bits;
    s.compression = compression;
    s.masks = std::move(masks);
    s.width = 2;
    s.height = height;
    if (bits <= 8) { // a whole table, so that only what a case changes is wrong
        s.palette = kPalette16;
        s.colorsUsed = 16;
    }
    return makeBmp(s);
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
    Bytes masksCut = bmpWith(40, 16, 3, {0xF800, 0x07E0, 0x001F});
    masksCut.resize(14 + 40 + 8);
    struct Case {
        const char *what;
        Bytes bytes;
        const char *message;
    } cases[] = {
        {"header size 41", withHeader32(14, 41), "Unknown DIB file format."},
        {"file header only", Bytes(base.begin(), base.begin() + 16), "Unknown DIB file format."},
        {"header cut short", Bytes(base.begin(), base.begin() + 40), "Unknown DIB file format."},
        {"JPEG inside", withHeader32(14 + 16, 4), "Image file conversion error."},
        // Run-length coding only exists bottom-up and at its own depth.
        {"run-length top-down", bmpWith(40, 8, 1, {}, -2), "Image file conversion error."},
        {"4-bit run-length at 8 bits", bmpWith(40, 8, 2), "Image file conversion error."},
        {"8-bit run-length at 4 bits", bmpWith(40, 4, 1), "Image file conversion error."},
        {"bit fields at 24 bits", bmpWith(40, 24, 3, {0xFF0000, 0xFF00, 0xFF}), "Image file conversion error."},
        {"bit fields at 8 bits", bmpWith(40, 8, 3, {0xE0, 0x1C, 0x03}), "Image file conversion error."},
        {"mask in pieces", bmpWith(40, 16, 3, {0xF0F0, 0x0F00, 0x000F}), "Image file conversion error."},
        {"mask past 16 bits", bmpWith(56, 16, 3, {0x7C00, 0x03E0, 0x001F, 0x18000}), "Image file conversion error."},
        {"masks cut off", masksCut, "Image file conversion error."},
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

// ---- Pictures saved by independent encoders ----

// A source picture for the encoders, R, G, B, A per pixel, top row first: what a reader must make
// of the saved file. The odd width gives every depth its row padding.
struct Picture {
    int width = 29, height = 7;
    std::vector<unsigned char> rgba;
    bool hasAlpha = false;
};

// What an encoder is given: `colours` distinct palette colours, or (0) direct colours.
struct Source {
    int colours;
    bool alpha;
};

Picture makePicture(const Source &src)
{
    Picture p;
    p.hasAlpha = src.alpha;
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) {
            unsigned char c[4];
            if (src.colours) {
                // Runs on even rows, scattered colours on odd ones: run-length coders use both modes.
                int i = (y % 2 ? x * 7 + y : x / 4 + y) % src.colours;
                c[0] = (unsigned char)(i * 37 % 256); // distinct for every i below 256
                c[1] = (unsigned char)((i * 91 + 40) % 256);
                c[2] = (unsigned char)(255 - i * 53 % 256);
                c[3] = 255;
            } else {
                static const int a[4] = {5, 11, 3, 17}, b[4] = {7, 13, 29, 3};
                for (int k = 0; k < 4; k++)
                    c[k] = k < 3 || src.alpha ? (unsigned char)((x * a[k] + y * b[k]) * 9 % 256) : 255;
            }
            p.rgba.insert(p.rgba.end(), c, c + 4);
        }
    return p;
}

// PPM, or PAM when the picture has alpha: what the encoder is given.
Bytes netpbmFile(const Picture &p)
{
    std::string head = p.hasAlpha ? "P7\nWIDTH " + std::to_string(p.width) + "\nHEIGHT " + std::to_string(p.height) +
                                        "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"
                                  : "P6\n" + std::to_string(p.width) + " " + std::to_string(p.height) + "\n255\n";
    Bytes out(head.begin(), head.end());
    for (size_t i = 0; i < p.rgba.size(); i += 4)
        out.insert(out.end(), p.rgba.begin() + std::ptrdiff_t(i), p.rgba.begin() + std::ptrdiff_t(i + (p.hasAlpha ? 4 : 3)));
    return out;
}

struct EncoderCase {
    const char *args; // between the source picture and the saved bitmap: options, then the format
    Source source;
    int headerSize, bits;
    uint32_t compression; // what the saved file must be, so each variant is known to be covered
    bool alpha;           // the decoded alpha must equal the source's
};

const Source kTrue = {0, false}, kTrueAlpha = {0, true}, kTwo = {2, false}, kTwelve = {12, false},
             kMany = {200, false};

// ImageMagick writes the header versions (OS/2 1.x as BMP2, Windows 3 as BMP3, 5 as BMP): one case
// for each way the reader finds the colour table, the masks and the pixels. (The 16-bit layouts
// are the bit-field table's above.)
const EncoderCase kImageMagickCases[] = {
    {"BMP2", kTrue, 12, 24, 0, false},
    {"-type Palette BMP2", kMany, 12, 8, 0, false},
    {"-type Palette BMP3", kTwo, 40, 1, 0, false},
    {"-type Palette BMP3", kTwelve, 40, 4, 0, false},
    {"-type Palette -compress RLE BMP3", kMany, 40, 8, 1, false},
    {"-define bmp3:alpha=true BMP3", kTrueAlpha, 40, 32, 0, false}, // alpha in the unused byte
    {"BMP", kTrue, 124, 24, 0, false},
    {"BMP", kTrueAlpha, 124, 32, 3, true},
};

// Every variant an independent encoder saves is read pixel for pixel as the picture it was given.
TEST_F(BmpTest, PicturesSavedByImageMagickReadBackExactly)
{
    // Debian's own, by full path: a stand-in earlier on PATH is no encoder.
    const std::string convert = "/usr/bin/convert";
    if (std::system(("test -x " + convert + " && " + convert + " -version | grep -q ImageMagick").c_str()) != 0)
        GTEST_SKIP() << "ImageMagick is not installed (scripts/setup.sh test installs it)";
    TempDir dir;
    std::string log = dir.file("log");
    for (const EncoderCase &c : kImageMagickCases) {
        Picture picture = makePicture(c.source);
        std::string in = dir.write(picture.hasAlpha ? "in.pam" : "in.ppm", netpbmFile(picture));
        std::string out = dir.file("out.bmp");
        std::string command = convert + " " + in + " " + c.args + ":" + out + " 2>" + log;
        SCOPED_TRACE(command);
        ASSERT_EQ(std::system(command.c_str()), 0);
        Bytes file = readBytes(out);
        ASSERT_GE(file.size(), 34u);
        int headerSize = file[14]; // the sizes and compressions all fit their field's low byte
        EXPECT_EQ(headerSize, c.headerSize);
        EXPECT_EQ(file[headerSize == 12 ? 24 : 28], c.bits);
        EXPECT_EQ(headerSize == 12 ? 0u : file[30], c.compression);

        ImagePtr image = decode(file, true);
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width, picture.width);
        ASSERT_EQ(image->height, picture.height);
        EXPECT_EQ(image->alpha != nullptr, c.alpha);
        // Saved bottom row first; the alpha only where the picture keeps it.
        for (int y = 0; y < picture.height; y++)
            for (int x = 0; x < picture.width; x++) {
                const unsigned char *want = &picture.rgba[(size_t(picture.height - 1 - y) * picture.width + x) * 4];
                int alpha = image->alpha ? image->alpha[size_t(y) * picture.width + x] : want[3];
                ASSERT_EQ(pixelAt(*image, x, y), (Rgb{want[0], want[1], want[2]})) << "pixel " << x << "," << y;
                ASSERT_EQ(alpha, want[3]) << "pixel " << x << "," << y;
            }
    }
    EXPECT_EQ(newBoxes(), 0);
}

// ---- TGA ----

// 24 and 32 bits arrive as RGB and RGBA; bytes after the pixels (a footer) are ignored; files load
// from disk.
TEST(TgaTest, TwentyFourAndThirtyTwoBitsArriveAsRgbAndRgbaFromDisk)
{
    TempDir dir;
    Bytes rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    Bytes file = makeTga(2, 2, 24, rgb);
    file.insert(file.end(), 26, 0);
    TgaImage image;
    ASSERT_TRUE(readTgaFile(dir.write("a.tga", file).c_str(), &image));
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
    EXPECT_FALSE(readTgaFile(dir.file("missing.tga").c_str(), &image));
    EXPECT_FALSE(readTgaFile(nullptr, &image));
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
        {"colour map on true colour", makeTga(4, 4, 32, px, 2, 0, 1)},
        {"image id", makeTga(4, 4, 32, px, 2, 5)},
        {"16 bits", makeTga(4, 4, 16, px)},
        {"zero width", makeTga(0, 4, 32, px)},
        {"short pixels", [&] { Bytes b = makeTga(4, 4, 32, px); b.pop_back(); return b; }()},
        {"header only", Bytes(whole.begin(), whole.begin() + 18)},
        {"header cut", Bytes(whole.begin(), whole.begin() + 17)},
        {"huge size", makeTga(65535, 65535, 32, px)},
        {"empty", Bytes{}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TgaImage image;
        EXPECT_FALSE(decodeTga(heapCopy(c.bytes).get(), c.bytes.size(), &image));
        EXPECT_EQ(image.pixels, nullptr);
    }
}

} // namespace
