// The 2D content in base/: every set entry the game loads is present in a form its readers take,
// the pictures keep the properties the drawing code relies on, the effect and data files have
// their layouts, and the generator is deterministic and never overwrites a player's files.
#include "image_probe.h"
#include "render/texture_names.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string base = COBALT_BASE_DIR;

std::string setPath(int entry, const char *ext)
{
    char name[64];
    snprintf(name, sizeof name, "/textures/tex%02d.%s", entry, ext);
    return base + name;
}
ProbeImage bmp(int entry) { return probeBmp(setPath(entry, "bmp")); }
ProbeImage tga(int entry) { return probeTga(setPath(entry, "tga")); }

bool isPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// Largest channel value on the outermost ring of pixels.
int borderMax(const ProbeImage &img, int channel)
{
    int m = 0;
    for (int x = 0; x < img.width; x++)
        m = std::max({m, int(img.at(x, 0)[channel]), int(img.at(x, img.height - 1)[channel])});
    for (int y = 0; y < img.height; y++)
        m = std::max({m, int(img.at(0, y)[channel]), int(img.at(img.width - 1, y)[channel])});
    return m;
}
int borderMaxRgb(const ProbeImage &img)
{
    return std::max({borderMax(img, 0), borderMax(img, 1), borderMax(img, 2)});
}

std::vector<int32_t> readWords(const std::string &path)
{
    std::vector<uint8_t> d;
    std::vector<int32_t> w;
    if (!Sys_ReadWholeFile(path.c_str(), d))
        return w;
    w.resize(d.size() / 4);
    memcpy(w.data(), d.data(), w.size() * 4);
    return w;
}

} // namespace

// Every file of the three sets opens as the game's readers expect, at a power-of-two size so
// mipmap building does not resample it.
TEST(Content2d, EverySetEntryIsAReadablePowerOfTwoPicture)
{
    for (int i = 0; i < TEXTURE_SET_FILES; i++) {
        ProbeImage img = bmp(i);
        ASSERT_TRUE(img.error.empty()) << "tex" << i << ".bmp: " << img.error;
        EXPECT_TRUE(isPowerOfTwo(img.width) && isPowerOfTwo(img.height)) << "tex" << i << ".bmp";
        EXPECT_LE(std::max(img.width, img.height), 1024) << "tex" << i << ".bmp";
    }
    for (int i = 0; i < TGA_SET_FILES; i++) {
        ProbeImage img = tga(i);
        ASSERT_TRUE(img.error.empty()) << "tex" << i << ".tga: " << img.error;
        EXPECT_TRUE(isPowerOfTwo(img.width) && isPowerOfTwo(img.height)) << "tex" << i << ".tga";
    }
    for (int f : uiTextureFiles)
        EXPECT_TRUE(fs::exists(setPath(f, "bmp")));
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
        ProbeImage img = bmp(e);
        const uint8_t *c = img.at(img.width / 2, img.height / 2);
        EXPECT_GT(std::max({c[0], c[1], c[2]}), 100) << e;
    }
}

TEST(Content2d, HudMasksKeepTheSceneOutsideTheirElements)
{
    // Multiplying masks are white where the picture shows through: the dial's top left corner,
    // the needle's corners and the band's lower middle between the plates.
    ProbeImage dial = bmp(TEX_HUD_DIAL_MASK), needle = bmp(TEX_HUD_NEEDLE_MASK), band = bmp(TEX_HUD_BAND_MASK);
    EXPECT_EQ(dial.at(2, 2)[0], 255);
    EXPECT_EQ(needle.at(1, 1)[0], 255);
    EXPECT_EQ(needle.at(needle.width - 2, 1)[0], 255);
    EXPECT_EQ(band.at(band.width / 4, band.height - 2)[0], 255);
    // ...and dark where the element is: the dial's centre, the needle's blade.
    EXPECT_LT(dial.at(dial.width / 2, dial.height / 2)[0], 128);
    EXPECT_LT(needle.at(needle.width / 2, needle.height / 2)[0], 64);
    // The dial is the same size as its light, and so on for each pair.
    EXPECT_EQ(dial.width, bmp(TEX_HUD_DIAL_LIGHT).width);
    EXPECT_EQ(needle.height, bmp(TEX_HUD_NEEDLE_LIGHT).height);
    EXPECT_EQ(band.width, bmp(TEX_HUD_BAND_LIGHT).width);
}

// The clouds are the one repeating entry: the wrap seam must be no rougher than the inside.
TEST(Content2d, CloudsTileWithoutASeam)
{
    ProbeImage img = bmp(TEX_CLOUDS);
    auto diffCols = [&](int a, int b) {
        double s = 0;
        for (int y = 0; y < img.height; y++)
            s += std::abs(int(img.at(a, y)[0]) - int(img.at(b, y)[0]));
        return s / img.height;
    };
    auto diffRows = [&](int a, int b) {
        double s = 0;
        for (int x = 0; x < img.width; x++)
            s += std::abs(int(img.at(x, a)[0]) - int(img.at(x, b)[0]));
        return s / img.width;
    };
    double inside = (diffCols(100, 101) + diffRows(100, 101)) / 2;
    EXPECT_LE(diffCols(img.width - 1, 0), inside * 2 + 1);
    EXPECT_LE(diffRows(img.height - 1, 0), inside * 2 + 1);
}

TEST(Content2d, AlphaPicturesHaveAlphaWhereTheGameBlends)
{
    for (int e : {TGA_FONT, TGA_PUFF, TGA_FLAME, TGA_SKYLINE, TGA_MENU_PANEL, TGA_MENU_LOGO, TGA_MENU_CURSOR,
                  TGA_HUD_NITRO_FILL, TGA_HUD_NITRO_FRAME, TGA_MENU_SELECT_BAR})
        EXPECT_EQ(tga(e).channels, 4) << "tex" << e << ".tga";
    // Particles: transparent rim, visible middle.
    for (int e : {TGA_PUFF, TGA_FLAME}) {
        ProbeImage p = tga(e);
        EXPECT_EQ(borderMax(p, 3), 0) << e;
        EXPECT_GT(p.at(p.width / 2, p.height / 2)[3], 60) << e;
    }
    // Skyline band: sky on top is see-through, the towers at the foot are solid; the wrap row
    // at the very bottom is clear so repeat filtering leaves no line on top of the band.
    ProbeImage sky = tga(TGA_SKYLINE);
    for (int x = 0; x < sky.width; x++) {
        EXPECT_EQ(sky.at(x, 0)[3], 0);
        EXPECT_EQ(sky.at(x, sky.height - 1)[3], 0);
    }
    double solid = 0;
    for (int x = 0; x < sky.width; x++)
        solid += sky.at(x, sky.height - 20)[3];
    EXPECT_GT(solid / sky.width, 240);
    // The logo's top sixth runs off the screen in the main menu: nothing important there.
    ProbeImage logo = tga(TGA_MENU_LOGO);
    double top = 0;
    for (int y = 0; y < logo.height / 7; y++)
        for (int x = 0; x < logo.width; x++)
            top += logo.at(x, y)[3];
    EXPECT_LT(top / (logo.width * (logo.height / 7)), 8.0);
    // The cursor's hot spot is the top left corner.
    ProbeImage cur = tga(TGA_MENU_CURSOR);
    EXPECT_GT(cur.at(3, 3)[3], 128);
}

TEST(Content2d, CountdownPicturesHaveTheirProportions)
{
    ProbeImage go = bmp(TEX_COUNT_GO);
    EXPECT_EQ(go.width, go.height * 2);
    for (int e : {TEX_COUNT_1, TEX_COUNT_2, TEX_COUNT_3}) {
        ProbeImage d = bmp(e);
        EXPECT_EQ(d.width, d.height) << e;
    }
}

// The printers draw cell set x 128 + c - 32 as a 19 x 20 or 25 x 27 quad and step 10 or 13
// units, so each glyph must sit in the left 52% of its cell, above the cell's bottom edge, and the
// two sets must differ for every printable character.
TEST(Content2d, GlyphSheetHasTwoDistinctSetsInTheirCells)
{
    ProbeImage f = tga(TGA_FONT);
    ASSERT_EQ(f.width, 1024);
    ASSERT_EQ(f.height, 1024);
    const int cell = 64;
    auto cellAlpha = [&](int g, int x, int y) { return f.at((g % 16) * cell + x, (g / 16) * cell + y)[3]; };
    for (int c = 32; c < 128; c++) {
        int g0 = c - 32, g1 = 128 + c - 32;
        int ink = 0, diff = 0, outside = 0, border = 0;
        for (int y = 0; y < cell; y++)
            for (int x = 0; x < cell; x++) {
                int a1 = cellAlpha(g1, x, y), a0 = cellAlpha(g0, x, y);
                ink += a1 > 128;
                diff += std::abs(a1 - a0) > 64;
                if (a1 > 128 && x >= 36)
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
    // Baseline: 'x' of set 1 ends on the same row as 'H', and 'p' reaches below it.
    auto lowestInk = [&](int c) {
        int g = 128 + c - 32, low = -1;
        for (int y = 0; y < cell; y++)
            for (int x = 0; x < cell; x++)
                if (cellAlpha(g, x, y) > 128)
                    low = y;
        return low;
    };
    EXPECT_NEAR(lowestInk('x'), lowestInk('H'), 1);
    EXPECT_GT(lowestInk('p'), lowestInk('H') + 6);
}

TEST(Content2d, EffectFilesHaveTheirLayoutAndSafeDivisors)
{
    struct Expect {
        const char *file;
        int blend;
    } files[] = {{"firepipe.eff", 1}, {"smokepipe.eff", 0}, {"dust.eff", 0}};
    for (const Expect &e : files) {
        std::vector<uint8_t> d;
        ASSERT_TRUE(Sys_ReadWholeFile(std::string(base + "/effects/" + e.file).c_str(), d)) << e.file;
        ASSERT_EQ(d.size(), 96u) << e.file;
        auto i32 = [&](int n) { return int32_t(probeLe(&d[4 * (n - 1)], 4)); };
        auto f32 = [&](int n) {
            float v;
            memcpy(&v, &d[4 * (n - 1)], 4);
            return v;
        };
        for (int n : {3, 4, 5, 6, 7, 8, 9, 10, 14, 15, 16, 18, 19, 20, 21, 22, 23})
            EXPECT_TRUE(std::isfinite(f32(n))) << e.file << " value " << n;
        EXPECT_GE(i32(1), 1);
        EXPECT_LE(i32(1), 500);
        for (int n : {11, 12, 13, 17}) // random moduli: must never be zero
            EXPECT_GE(i32(n), 1) << e.file << " value " << n;
        EXPECT_GT(f32(18), 0.0f);
        EXPECT_GT(f32(3), f32(21)) << "particles should grow from birth size towards the maximum";
        EXPECT_GT(f32(19), 0.0f) << "a fade speed of zero would keep particles forever";
        EXPECT_EQ(i32(24), e.blend) << e.file;
    }
}

TEST(Content2d, DefaultDataFilesHaveTheirLayouts)
{
    std::vector<int32_t> menu = readWords(base + "/menu.inf");
    ASSERT_EQ(menu.size(), 6u);
    EXPECT_GE(menu[0], 0);
    EXPECT_LE(menu[0], 4);
    EXPECT_TRUE(menu[1] == 16 || menu[1] == 32);
    EXPECT_TRUE(menu[2] == 16 || menu[2] == 24);
    std::vector<int32_t> career = readWords(base + "/career.inf");
    ASSERT_EQ(career.size(), 178u);
    EXPECT_GE(career[174], 1);
    EXPECT_LE(career[174], 15);
}

// Runs the generator into a fresh folder; returns the exit status.
static int runGenerator(const fs::path &dir)
{
    std::string cmd = std::string(GEN2D_BINARY) + " '" + dir.string() + "' > /dev/null";
    return system(cmd.c_str());
}

static std::map<std::string, std::vector<uint8_t>> readTree(const fs::path &dir)
{
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto &e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) {
            std::vector<uint8_t> d;
            Sys_ReadWholeFile(e.path().string().c_str(), d);
            files[fs::relative(e.path(), dir).string()] = std::move(d);
        }
    return files;
}

TEST(Content2d, GeneratorIsDeterministicAndKeepsThePlayersFiles)
{
    fs::path tmp = fs::temp_directory_path() / ("gen2d_test_" + std::to_string(getpid()));
    fs::remove_all(tmp);
    fs::create_directories(tmp / "a");
    fs::create_directories(tmp / "b");
    // A player's own settings and career must survive a rebuild.
    const int32_t mine[6] = {2, 16, 16, 0, 1, 7};
    {
        FILE *f = fopen((tmp / "b" / "menu.inf").c_str(), "wb");
        ASSERT_TRUE(f);
        fwrite(mine, 4, 6, f);
        fclose(f);
    }
    std::vector<int32_t> myCareer(178, 3);
    {
        FILE *f = fopen((tmp / "b" / "career.inf").c_str(), "wb");
        ASSERT_TRUE(f);
        fwrite(myCareer.data(), 4, myCareer.size(), f);
        fclose(f);
    }
    ASSERT_EQ(runGenerator(tmp / "a"), 0);
    ASSERT_EQ(runGenerator(tmp / "b"), 0);

    auto a = readTree(tmp / "a"), b = readTree(tmp / "b");
    EXPECT_EQ(a.size(), size_t(int(TEXTURE_SET_FILES) + int(TGA_SET_FILES) + 3 + 2));
    for (const auto &[name, bytes] : a) {
        if (name == "menu.inf" || name == "career.inf")
            continue;
        ASSERT_TRUE(b.count(name)) << name;
        EXPECT_TRUE(bytes == b[name]) << name << " differs between two runs";
    }
    EXPECT_EQ(readWords((tmp / "b" / "menu.inf").string()), std::vector<int32_t>(mine, mine + 6));
    EXPECT_EQ(readWords((tmp / "b" / "career.inf").string()), myCareer);

    // Written fresh: 800 x 600, 32-bit, 24-bit depth, sound and music on; and a new career.
    EXPECT_EQ(readWords((tmp / "a" / "menu.inf").string()), (std::vector<int32_t>{1, 32, 24, 1, 1, 0}));
    std::vector<int32_t> career = readWords((tmp / "a" / "career.inf").string());
    ASSERT_EQ(career.size(), 178u);
    for (int c = 0; c < 18; c++)
        EXPECT_EQ(career[c], c < 3 ? 1 : 0) << "car " << c;
    for (int w = 18; w < 174; w++)
        EXPECT_EQ(career[w], 0) << "word " << w;
    EXPECT_EQ(career[174], 1);   // racesOpen
    EXPECT_EQ(career[175], 0);   // careerPoints
    EXPECT_EQ(career[176], 350); // cash
    EXPECT_EQ(career[177], 1);   // careerStarted
    fs::remove_all(tmp);
}

namespace {

// The emitter's documented update rule, run on an effect file: where do the live particles go?
struct PlumeStats {
    float maxBack = 0;   // furthest distance against the drift direction... along -x
    float maxSide = 0;   // furthest |z|
    float meanY = 0;     // mean height of live particles
    float maxSize = 0;
    int live = 0;
    float meanLifeFrames = 0;
};

PlumeStats simulate(const std::string &file, float driftX)
{
    std::vector<uint8_t> d;
    Sys_ReadWholeFile(file.c_str(), d);
    auto i32 = [&](int n) { return int32_t(probeLe(&d[4 * (n - 1)], 4)); };
    auto f32 = [&](int n) {
        float v;
        memcpy(&v, &d[4 * (n - 1)], 4);
        return v;
    };
    int count = i32(1);
    float maxSize = f32(3), gx = f32(4), gy = f32(5), gz = f32(6), sx = f32(7), sy = f32(8), sz = f32(9);
    float fadeScale = f32(10);
    int sprX = i32(11), sprY = i32(12), sprZ = i32(13);
    float offX = f32(14), offY = f32(15), offZ = f32(16);
    int fadeSpread = i32(17);
    float fadeDiv = f32(18), fadeBase = f32(19), growth = f32(20), startSize = f32(21), decay = f32(22);
    float startLife = 1.0f;
    srand(1);
    struct P {
        float life, fade, x, y, z, vx, vy, vz, size, energy;
        int age;
    };
    std::vector<P> ps(count);
    for (P &p : ps)
        p = {0, (rand() % fadeSpread) / fadeDiv + fadeBase, 0, 0, 0, 0, 0, 0, startSize, startLife, 0};
    PlumeStats st;
    double lifeSum = 0;
    int deaths = 0;
    for (int frame = 0; frame < 400; frame++) {
        for (P &p : ps) { // frameTime 1.0: one sub-step
            p.vx += gx, p.vy += gy, p.vz += gz;
            if (p.energy > 0)
                p.energy -= decay;
            p.x += p.vx * sx * p.energy;
            p.y += p.vy * sy * p.energy;
            p.z += p.vz * sz * p.energy;
            p.life -= p.fade * fadeScale;
            if (p.size < maxSize)
                p.size += growth;
            p.age++;
            if (p.life < 0) {
                if (frame > 50) {
                    lifeSum += p.age;
                    deaths++;
                }
                p.life = startLife;
                p.fade = (rand() % fadeSpread) / fadeDiv + fadeBase;
                p.x = p.y = p.z = 0;
                p.vx = (rand() % sprX) - offX + driftX;
                p.vy = (rand() % sprY) - offY;
                p.vz = (rand() % sprZ) - offZ;
                p.size = startSize;
                p.energy = 1.0f;
                p.age = 0;
            }
        }
        if (frame >= 300)
            for (const P &p : ps)
                if (p.life > 0.05f) {
                    st.maxBack = std::max(st.maxBack, -p.x);
                    st.maxSide = std::max(st.maxSide, std::fabs(p.z));
                    st.meanY += p.y;
                    st.maxSize = std::max(st.maxSize, p.size);
                    st.live++;
                }
    }
    if (st.live)
        st.meanY /= st.live;
    st.meanLifeFrames = deaths ? float(lifeSum / deaths) : 0;
    return st;
}

} // namespace

// Fire is a short tongue behind the pipe, smoke a slower, longer, rising plume, dust a wide cloud.
TEST(Content2d, EffectsBehaveAsTheirNamesSay)
{
    PlumeStats fire = simulate(base + "/effects/firepipe.eff", -120);
    PlumeStats smoke = simulate(base + "/effects/smokepipe.eff", -120);
    PlumeStats dust = simulate(base + "/effects/dust.eff", 0);
    EXPECT_GT(fire.maxBack, 0.3f);
    EXPECT_LT(fire.maxBack, 2.0f);
    EXPECT_LT(fire.meanLifeFrames, 25);
    EXPECT_GT(smoke.meanLifeFrames, 2 * fire.meanLifeFrames);
    EXPECT_GT(smoke.maxBack, fire.maxBack);
    EXPECT_GT(smoke.meanY, 0.05f) << "smoke should rise";
    EXPECT_GT(dust.maxSide, 2 * smoke.maxSide) << "dust should spread sideways";
    EXPECT_GT(dust.maxSize, smoke.maxSize);
}
