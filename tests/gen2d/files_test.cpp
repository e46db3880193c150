// The 2D content in base/, read by the game's own readers: every set entry the game loads is
// present, the pictures keep the properties the drawing code relies on, the effect and data files
// have their layouts, and the generator is deterministic and never overwrites a player's files.
#include "formats/effect_file.h"
#include "formats/images.h"
#include "render/images.h"
#include "render/texture_names.h"
#include "support/file_builders.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string base = COBALT_BASE_DIR;

std::string setPath(int entry, const char *ext)
{
    char name[64];
    snprintf(name, sizeof name, "/textures/tex%02d.%s", entry, ext);
    return base + name;
}

// A picture of the sets as the game's own readers deliver it: R, G, B[, A], bottom row first.
struct Picture {
    int width = 0, height = 0, channels = 0;
    std::vector<uint8_t> pixels;
    std::string error;
    // Pixel at (x, y) with y counted from the top of the picture.
    const uint8_t *at(int x, int y) const { return &pixels[(size_t(height - 1 - y) * width + x) * channels]; }
};
Picture bmp(int entry)
{
    Picture p;
    if (RgbImage *img = loadBmpImage(setPath(entry, "bmp").c_str())) {
        p = {img->width, img->height, 3, {img->data, img->data + size_t(img->width) * img->height * 3}, ""};
        freeRgbImage(img);
    } else
        p.error = "refused by the game's reader";
    return p;
}
Picture tga(int entry)
{
    Picture p;
    TgaImage img{};
    if (!readTgaFile(setPath(entry, "tga").c_str(), &img))
        p.error = "refused by the game's reader";
    else if (readBytes(setPath(entry, "tga"))[17] & 0x20)
        p.error = "top-left origin: the game ignores the origin bit and would show it upside down";
    else
        p = {img.width, img.height, img.bytesPerPixel,
             {img.pixels, img.pixels + size_t(img.width) * img.height * img.bytesPerPixel}, ""};
    delete[] img.pixels;
    return p;
}

bool isPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// Largest R, G or B value on the outermost ring of pixels.
int borderMaxRgb(const Picture &img)
{
    int m = 0;
    for (int c = 0; c < 3; c++) {
        for (int x = 0; x < img.width; x++)
            m = std::max({m, int(img.at(x, 0)[c]), int(img.at(x, img.height - 1)[c])});
        for (int y = 0; y < img.height; y++)
            m = std::max({m, int(img.at(0, y)[c]), int(img.at(img.width - 1, y)[c])});
    }
    return m;
}

} // namespace

// Every file of the three sets opens as the game's readers expect, at a power-of-two size so
// mipmap building does not resample it.
TEST(Content2d, EverySetEntryIsAReadablePowerOfTwoPicture)
{
    for (int i = 0; i < TEXTURE_SET_FILES; i++) {
        Picture img = bmp(i);
        ASSERT_TRUE(img.error.empty()) << "tex" << i << ".bmp: " << img.error;
        EXPECT_TRUE(isPowerOfTwo(img.width) && isPowerOfTwo(img.height)) << "tex" << i << ".bmp";
        EXPECT_LE(std::max(img.width, img.height), 1024) << "tex" << i << ".bmp";
    }
    for (int i = 0; i < TGA_SET_FILES; i++) {
        Picture img = tga(i);
        ASSERT_TRUE(img.error.empty()) << "tex" << i << ".tga: " << img.error;
        EXPECT_TRUE(isPowerOfTwo(img.width) && isPowerOfTwo(img.height)) << "tex" << i << ".tga";
    }
}

// Pictures drawn additively or as HUD light must fade to black at their edges: the set clamps to
// the edge, and a lit border pixel would smear into a visible square or streak.
TEST(Content2d, AdditivePicturesAreBlackAtTheirBorders)
{
    const int additive[] = {TEX_CHECKPOINT, TEX_LAMP_GLOW, TEX_HUD_BEND_ARROW, TEX_COUNT_GO, TEX_COUNT_1,
                            TEX_COUNT_2,    TEX_COUNT_3,   TEX_HUD_NEEDLE_LIGHT, TEX_HEADLIGHT_FLARE,
                            TEX_TAILLIGHT_FLARE};
    for (int e : additive)
        EXPECT_LE(borderMaxRgb(bmp(e)), 6) << "tex" << e << ".bmp";
    // The round sprites are bright in the middle.
    for (int e : {TEX_LAMP_GLOW, TEX_CHECKPOINT}) {
        Picture img = bmp(e);
        const uint8_t *c = img.at(img.width / 2, img.height / 2);
        EXPECT_GT(std::max({c[0], c[1], c[2]}), 100) << e;
    }
}

TEST(Content2d, HudMasksLeaveRoomWhereTheGameDraws)
{
    // Multiplying masks are white where the picture shows through: the dial's top left corner,
    // the needle's corners and the band's lower middle between the plates.
    Picture dial = bmp(TEX_HUD_DIAL_MASK), needle = bmp(TEX_HUD_NEEDLE_MASK), band = bmp(TEX_HUD_BAND_MASK);
    EXPECT_EQ(dial.at(2, 2)[0], 255);
    EXPECT_EQ(needle.at(1, 1)[0], 255);
    EXPECT_EQ(needle.at(needle.width - 2, 1)[0], 255);
    EXPECT_EQ(band.at(band.width / 4, band.height - 2)[0], 255);
    // ...and dark where the element is: the dial's centre, the needle's blade.
    EXPECT_LT(dial.at(dial.width / 2, dial.height / 2)[0], 128);
    EXPECT_LT(needle.at(needle.width / 2, needle.height / 2)[0], 64);
}

// The clouds are the one repeating entry: the wrap seam must be no rougher than the inside.
TEST(Content2d, CloudsTileWithoutASeam)
{
    Picture img = bmp(TEX_CLOUDS);
    // Mean difference between columns a and b, or rows a and b.
    auto diff = [&](bool cols, int a, int b) {
        int n = cols ? img.height : img.width;
        double s = 0;
        for (int i = 0; i < n; i++)
            s += std::abs(int((cols ? img.at(a, i) : img.at(i, a))[0]) - int((cols ? img.at(b, i) : img.at(i, b))[0]));
        return s / n;
    };
    double inside = (diff(true, 100, 101) + diff(false, 100, 101)) / 2;
    EXPECT_LE(diff(true, img.width - 1, 0), inside * 2 + 1);
    EXPECT_LE(diff(false, img.height - 1, 0), inside * 2 + 1);
}

TEST(Content2d, AlphaPicturesHaveAlphaWhereTheGameBlends)
{
    for (int e : {TGA_FONT, TGA_PUFF, TGA_FLAME, TGA_SKYLINE, TGA_MENU_PANEL, TGA_MENU_LOGO, TGA_MENU_CURSOR,
                  TGA_HUD_NITRO_FILL, TGA_HUD_NITRO_FRAME, TGA_MENU_SELECT_BAR})
        EXPECT_EQ(tga(e).channels, 4) << "tex" << e << ".tga";
    // Particles: visible middle, all but clear outside nine tenths of the half-width, so the
    // game draws them on squares cut well inside their pictures.
    for (int e : {TGA_PUFF, TGA_FLAME}) {
        Picture p = tga(e);
        EXPECT_GT(p.at(p.width / 2, p.height / 2)[3], 60) << e;
        int outside = 0;
        for (int y = 0; y < p.height; y++)
            for (int x = 0; x < p.width; x++)
                if (std::hypot(x + 0.5 - p.width / 2.0, y + 0.5 - p.height / 2.0) >= 0.9 * p.width / 2)
                    outside += p.at(x, y)[3] > kFaintAlpha;
        EXPECT_EQ(outside, 0) << e;
    }
    // Skyline band: sky on top is see-through, the towers at the foot are solid; the wrap row
    // at the very bottom is clear so repeat filtering leaves no line on top of the band.
    Picture sky = tga(TGA_SKYLINE);
    for (int x = 0; x < sky.width; x++) {
        EXPECT_EQ(sky.at(x, 0)[3], 0);
        EXPECT_EQ(sky.at(x, sky.height - 1)[3], 0);
    }
    double solid = 0;
    for (int x = 0; x < sky.width; x++)
        solid += sky.at(x, sky.height - 20)[3];
    EXPECT_GT(solid / sky.width, 240);
}

// The printers draw cell set x 128 + c - 32 as a 19 x 20 or 25 x 27 quad and step 10 or 13
// units, so each glyph must sit in the left 52% of its cell (the racing set, whose shadow leans
// right, in the left 62%), clear of the cell's edges, and the two sets must differ for every
// printable character. The racing set's ink is what shows in white text over black (colour
// times alpha), its dark shadow not counted.
TEST(Content2d, GlyphSheetHasTwoDistinctSetsInTheirCells)
{
    Picture f = tga(TGA_FONT);
    ASSERT_EQ(f.width, 1024);
    ASSERT_EQ(f.height, 1024);
    const int cell = 64;
    auto cellAlpha = [&](int g, int x, int y) { return f.at((g % 16) * cell + x, (g / 16) * cell + y)[3]; };
    auto inked = [&](int g, int x, int y) {
        const uint8_t *p = f.at((g % 16) * cell + x, (g / 16) * cell + y);
        return p[0] * p[3] > 128 * 255;
    };
    for (int c = 32; c < 128; c++) {
        int g0 = c - 32, g1 = 128 + c - 32;
        int ink = 0, diff = 0, outside = 0, border = 0;
        for (int y = 0; y < cell; y++)
            for (int x = 0; x < cell; x++) {
                int a1 = cellAlpha(g1, x, y), a0 = cellAlpha(g0, x, y);
                ink += a1 > 128;
                diff += std::abs(a1 - a0) > 64;
                if ((a1 > 128 && x >= 36) || (inked(g0, x, y) && x >= 40))
                    outside++;
                if ((x == 0 || y == 0 || x == cell - 1 || y == cell - 1) && (a0 || a1))
                    border++;
            }
        EXPECT_EQ(border, 0) << "glyph " << c << " touches its cell edge";
        if (c == 32)
            EXPECT_EQ(ink, 0);
        else {
            EXPECT_GT(ink, 10) << "glyph " << c;
            EXPECT_GT(diff, 10) << "sets look alike for " << c;
            EXPECT_EQ(outside, 0) << "glyph " << c << " runs into the next character";
        }
    }
    // Rows of set 1's ink for a character, counted from the cell's top.
    auto inkRows = [&](int c, int *top, int *low) {
        int g = 128 + c - 32;
        *top = cell;
        *low = -1;
        for (int y = 0; y < cell; y++)
            for (int x = 0; x < cell; x++)
                if (cellAlpha(g, x, y) > 128) {
                    *top = std::min(*top, y);
                    *low = y;
                }
    };
    int hTop, hLow, xTop, xLow, pTop, pLow;
    inkRows('H', &hTop, &hLow);
    inkRows('x', &xTop, &xLow);
    inkRows('p', &pTop, &pLow);
    // The small printer draws 3 units below its line: a capital stands on the line at both sizes
    // when its foot is 7 to 19 rows above the cell's bottom, and is a readable 10 units tall.
    EXPECT_GE(hLow, 44);
    EXPECT_LE(hLow, 56);
    EXPECT_GE(hLow - hTop, 34);
    // Baseline: 'x' ends on the same row as 'H', and 'p' reaches below it.
    EXPECT_NEAR(xLow, hLow, 1);
    EXPECT_GT(pLow, hLow + 6);
}

TEST(Content2d, EffectFilesHaveTheirLayoutAndSafeDivisors)
{
    struct Expect {
        const char *file;
        int blend;
    } files[] = {{"firepipe.eff", 1}, {"smokepipe.eff", 0}, {"dust.eff", 0}};
    for (const Expect &e : files) {
        std::string path = base + "/effects/" + e.file;
        EffectParams p;
        ASSERT_TRUE(readEffectFile(path.c_str(), &p)) << e.file;
        // Written back it is the same file: no value needed the reader's repairs (a modulus
        // below 1, a zero divisor, an oversized pool) and nothing follows the 24 values.
        EXPECT_EQ(makeEffect(p), readBytes(path)) << e.file;
        EXPECT_GE(p.particleCount, 1);
        EXPECT_LE(p.particleCount, 500);
        EXPECT_GT(p.fadeDivisor, 0.0f);
        EXPECT_GT(p.maxSize, p.startSize) << "particles should grow from birth size towards the maximum";
        EXPECT_GT(p.fadeBase, 0.0f) << "a fade speed of zero would keep particles forever";
        EXPECT_EQ(p.blendMode, e.blend) << e.file;
    }
}

TEST(Content2d, GeneratorIsDeterministicAndKeepsThePlayersFiles)
{
    TempDir a, b;
    // A player's own settings and career must survive a rebuild.
    const Bytes mine = words({2, 16, 16, 0, 1, 7}), myCareer(178 * 4, 3);
    b.write("menu.inf", mine);
    b.write("career.inf", myCareer);
    for (const TempDir *d : {&a, &b})
        ASSERT_EQ(std::system((std::string(GEN2D_BINARY) + " '" + d->path.string() + "' > /dev/null").c_str()), 0);

    size_t files = 0;
    for (const auto &e : fs::recursive_directory_iterator(a.path)) {
        std::string name = fs::relative(e.path(), a.path).string();
        if (!e.is_regular_file() || name == "menu.inf" || name == "career.inf")
            continue;
        files++;
        EXPECT_TRUE(readBytes(e.path()) == readBytes(b.file(name))) << name << " differs between two runs";
    }
    EXPECT_EQ(files, size_t(int(TEXTURE_SET_FILES) + int(TGA_SET_FILES) + 3));
    EXPECT_EQ(readBytes(b.file("menu.inf")), mine);
    EXPECT_EQ(readBytes(b.file("career.inf")), myCareer);

    // Written fresh: 800 x 600, 32-bit, 24-bit depth, sound and music on; and a new career with
    // cars 0-2 open, race 1 open, 350 cash, started.
    EXPECT_EQ(readBytes(a.file("menu.inf")), words({1, 32, 24, 1, 1, 0}));
    Bytes career = readBytes(a.file("career.inf"));
    ASSERT_EQ(career.size(), 178u * 4);
    const int last[4] = {1, 0, 350, 1}; // racesOpen, careerPoints, cash, careerStarted
    for (int w = 0; w < 178; w++)
        EXPECT_EQ(wordAt(career, size_t(w)), w < 3 ? 1 : w < 174 ? 0 : last[w - 174]) << "word " << w;
}
