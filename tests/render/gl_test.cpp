// The renderer on a real GL context (Xvfb + Mesa): textures, models, the light program, fonts,
// the countdown, the night sky and the bloom chain. The window is opened once, through the shell,
// in a scratch directory holding the shaders and the images the tests make.
#include "render/gl_pixels.h"
#include "render/hiding.h"
#include "render/images.h"
#include "render/lights.h"
#include "render/ms3d.h"
#include "render/overlay.h"
#include "render/view_volume.h"
#include "common/common.h"
#include "support/ms3d_write.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

namespace {

constexpr int kWidth = 800, kHeight = 600, kSmall = 256, kGlow = 128; // the frame, the HDR pass, the glow

Bytes solidBmp(int width, int height, Rgb c)
{
    BmpLayout s;
    s.width = width;
    s.height = height;
    s.pixel = [c](int, int) { return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; };
    return makeBmp(s);
}

// Glyph image whose every cell has its own colour: red = column, green = row from the top,
// so a pixel of drawn text tells which glyph was used.
Bytes glyphTga()
{
    Bytes rgba;
    for (int y = 0; y < 256; y++) // file rows bottom first
        for (int x = 0; x < 256; x++) {
            int rowFromTop = 15 - y / 16;
            rgba.insert(rgba.end(), {(unsigned char)(x / 16 * 16 + 8), (unsigned char)(rowFromTop * 16 + 8), 77, 255});
        }
    return makeTga(256, 256, 32, rgba);
}
int glyphAt(Rgb p) { return p.g / 16 * 16 + p.r / 16; }

ScratchWindow *window;

class GlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window->opened) << "the game window with its GL set-up must open";
        glViewport(0, 0, kWidth, kHeight); // the post-processing passes draw into smaller pictures
    }
};

// Saved for people beside the build's other pictures, through the game's own screenshot writer.
void saveFrame(const char *name) { EXPECT_TRUE(saveScreenshot((window->previous / name).c_str())); }

TEST_F(GlTest, TextureSetsLoadTheirDrawnEntriesAllOrNothingAndTheMenusOwnComeBackAfterARace)
{
    namespace fs = std::filesystem;
    fs::path textures = window->dir.path / "base/textures";
    for (int i = 0; i < kTextureSetFiles; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "base/textures/tex%02d.bmp", i);
        if (!fs::exists(name))
            window->dir.write(name, solidBmp(4, 4, {(unsigned char)i, 0, 0}));
    }
    // A drawn entry's file missing: its set is refused whole (the file is put aside, then back).
    ASSERT_TRUE(loadTextureSet());
    fs::rename(textures / "tex27.bmp", textures / "aside.bmp");
    EXPECT_FALSE(loadTextureSet()) << "a set loaded before is let go, not kept beside the refusal";
    for (GLuint t : textureSet)
        ASSERT_EQ(t, 0u);
    fs::rename(textures / "aside.bmp", textures / "tex27.bmp");
    // A file nothing draws is not read at all.
    fs::remove(textures / "tex11.bmp");
    ASSERT_TRUE(loadTextureSet());
    std::set<int> drawn(std::begin(textureSetDrawn), std::end(textureSetDrawn));
    for (int i = 0; i < kTextureSetSize; i++)
        EXPECT_EQ(textureSet[i] != 0, drawn.count(i) == 1) << i;
    std::vector<unsigned char> rgba;
    int w = 0, h = 0;
    readTexture(textureSet[TEX_CLOUDS], &rgba, &w, &h);
    ASSERT_EQ(rgba.size(), 4u * 4u * 4u);
    EXPECT_EQ(rgba[0], (unsigned char)TEX_CLOUDS) << "each entry holds its own file";

    // A race lets the menus' own pictures go and keeps the rest; leaving it brings them back,
    // each from its own file with the wrap its set gives, and loading again changes nothing.
    for (int i : tgaMenuOnly) {
        char name[32];
        std::snprintf(name, sizeof name, "base/textures/tex%02d.tga", i);
        window->dir.write(name, makeTga(2, 2, 32, Bytes(16, (unsigned char)(100 + i))));
        ASSERT_TRUE(tgaSet[i].load(name, TGA_FILTER_TRILINEAR)); // as the start-up loads them
    }
    std::array<GLuint, kTextureSetSize> before;
    std::copy(std::begin(textureSet), std::end(textureSet), before.begin());
    GLuint font = tgaSet[TGA_FONT].texture;
    releaseMenuTextures();
    for (int i : tgaMenuOnly)
        EXPECT_EQ(tgaSet[i].texture, 0u) << i;
    std::set<int> menus(std::begin(textureSetMenuOnly), std::end(textureSetMenuOnly));
    for (int i = 0; i < kTextureSetSize; i++)
        EXPECT_EQ(textureSet[i], menus.count(i) ? 0u : before[size_t(i)]) << i;
    EXPECT_EQ(tgaSet[TGA_FONT].texture, font);
    loadMenuTextures();
    for (int i : tgaMenuOnly) {
        readTexture(tgaSet[i].texture, &rgba, &w, &h);
        ASSERT_EQ(rgba.size(), 16u) << i;
        EXPECT_EQ(rgba[0], (unsigned char)(100 + i)) << i;
    }
    for (int i : textureSetMenuOnly) {
        readTexture(textureSet[i], &rgba, &w, &h);
        ASSERT_EQ(rgba.size(), 64u) << i;
        EXPECT_EQ(rgba[0], (unsigned char)i) << i;
        GLint wrap = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE) << i;
    }
    GLuint odd = textureSet[TEX_MENU_MAP_ODD], logo = tgaSet[TGA_MENU_LOGO].texture;
    loadMenuTextures();
    EXPECT_EQ(textureSet[TEX_MENU_MAP_ODD], odd) << "only what was let go is loaded again";
    EXPECT_EQ(tgaSet[TGA_MENU_LOGO].texture, logo);
}

// Left quad: material 0 with a red texture; right quad: no material (0xFF).
TEST_F(GlTest, ModelsPickTheirReaderByNameAndDrawUntexturedWithoutMaterial)
{
    TempDir dir;
    std::string bmpNamedTga = dir.write("skin.TGA", solidBmp(4, 4, {255, 0, 0}));
    std::string realTga = dir.write("skin.tga", makeTga(2, 2, 24, Bytes(12, 128)));
    Ms3dLayout layout;
    layout.vertices = {{100, 100, 0}, {300, 100, 0}, {300, 300, 0}, {100, 300, 0},
                     {400, 100, 0}, {600, 100, 0}, {600, 300, 0}, {400, 300, 0}};
    layout.triangles = {{{0, 1, 2}}, {{0, 2, 3}}, {{4, 5, 6}}, {{4, 6, 7}}};
    layout.groups = {{{0, 1}, 0}, {{2, 3}, 0xFF}};
    layout.materials = {{bmpNamedTga}, {realTga}, {""}, {dir.file("missing.bmp")}};
    auto model = std::make_unique<Ms3dModel>();
    ASSERT_TRUE(model->loadModelData(dir.write("m.ms3d", makeMs3d(layout)).c_str()));
    model->reloadTextures();
    EXPECT_NE(model->materials[0].texture, 0u) << "\".TGA\" is read as a bitmap";
    EXPECT_NE(model->materials[1].texture, 0u);
    EXPECT_EQ(model->materials[2].texture, 0u);
    EXPECT_EQ(model->materials[3].texture, 0u);
    // Let go (as a race does the cars it does not show) and brought back for the draw below.
    model->releaseTextures();
    EXPECT_TRUE(model->texturesReleased());
    EXPECT_EQ(model->materials[0].texture, 0u);
    model->reloadTextures();
    EXPECT_FALSE(model->texturesReleased());

    flatView(800, 600);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 1);
    model->draw();
    EXPECT_EQ(pixelAt(200, 200), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixelAt(500, 200), (Rgb{255, 255, 255}));
    // A shader samples its unit even with texturing disabled: the untextured mesh left a
    // white texel bound, not the red skin of the mesh before it.
    unsigned char texel[4] = {};
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    EXPECT_EQ(texel[0] + texel[1] + texel[2], 3 * 255);
    glEnable(GL_CULL_FACE);
    glEnable(GL_FOG);
}

TEST_F(GlTest, LightProgramLightsThePoolUnderALampAndMixesTheReflection)
{
    // A floor of 200 x 200 units seen from above; one lamp 10 units over its middle, chosen and
    // sent as the race frame does. It is drawn as a quad with the whole program (as the cars
    // are), with the paint's mirror, or as a model (whose corners' normals lean a little), with
    // the whole program or as the track is drawn, with the track's builds.
    GLuint white = solidTexture(255, 255, 255), red = solidTexture(255, 0, 0);
    levelLights[0] = {{0, 10, 0}, {0.7f, 0.7f, 0.4f}, {0, -1, 0}, 5, 0, 0, 0};
    numLevelLights = 1;
    TempDir dir;
    Ms3dLayout ground;
    addGround(ground, 0, 0, 0, 100);
    Ms3dModel track;
    ASSERT_TRUE(track.loadModelData(dir.write("floor.ms3d", makeMs3d(ground)).c_str()));

    enum Floor { WHOLE, MIRRORED, MODEL, TRACK };
    auto drawFloor = [&](Floor floor) {
        flatView(100, 75, -100, -75, 100);
        glRotatef(90, 1, 0, 0); // look straight down the y axis
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        beginLitScene();
        const float eye[3] = {0, 50, 0}, ahead[3] = {1, 0, 0};
        selectLights(eye, ahead, false);
        setLightMaterial();
        glDisable(GL_CULL_FACE);
        if (floor == TRACK) {
            drawLitModelInside(&track, currentViewVolume(eye, 0));
        } else if (floor == MODEL) {
            prepareObjectLights(nullptr);
            sendObjectLights();
            track.draw(-1);
        } else {
            prepareObjectLights(nullptr);
            sendObjectLights();
            setPaintReflection(floor == MIRRORED, red);
            glBindTexture(GL_TEXTURE_2D, white);
            glBegin(GL_QUADS);
            glNormal3f(0, 1, 0); // (one-texel textures: any texture coordinate reads the same)
            glVertex3f(-100, 0, -100);
            glVertex3f(100, 0, -100);
            glVertex3f(100, 0, 100);
            glVertex3f(-100, 0, 100);
            glEnd();
            setPaintReflection(false);
        }
        endLitScene();
        glEnable(GL_CULL_FACE);
    };
    drawFloor(WHOLE);
    saveFrame("render_gl_light.png");
    // Right under the lamp the light runs to white; a few units out the pool keeps its colour.
    Rgb under = pixelAt(400, 300), pool = pixelAt(400 + 20, 300), edge = pixelAt(400 + 350, 300);
    EXPECT_GT(under.r, 150) << "right under the lamp";
    EXPECT_GT(pool.r, pool.b + 30) << "the lamp's yellowish colour";
    // Far from the pool only the ambient floor and the far light remain.
    EXPECT_LT(edge.r, 90);
    EXPECT_GT(edge.r, 10);

    // The lamp's own light (the floor drawn again without it, taken away) falls off as the slant,
    // the spot's cone and the fade make it: (10 / r)^(1 + focus) (1 - r^2 / reach^2)^2 at r from
    // the lamp; and the track's builds, which leave out what the street does not need, light the
    // model as the whole program does. Sampled in the blue channel, clear of white from 5 units
    // out, to 20 units.
    const int samples = 16;
    auto lampLight = [&](Floor floor) {
        std::vector<int> lit(samples);
        numLevelLights = 1;
        drawFloor(floor);
        for (int i = 0; i < samples; i++)
            lit[i] = pixelAt(420 + 4 * i, 300).b;
        numLevelLights = 0;
        drawFloor(floor); // the far light and the ambient floor alone
        for (int i = 0; i < samples; i++)
            lit[i] -= pixelAt(420 + 4 * i, 300).b;
        return lit;
    };
    const std::vector<int> whole = lampLight(WHOLE), model = lampLight(MODEL), street = lampLight(TRACK);
    double scale = 0;
    for (int i = 0; i < samples; i++) {
        const double x = (20 + 4 * i + 0.5) / 4, z = 0.5 / 4, r2 = x * x + z * z + 100;
        const double fade = 1 - r2 / (kLampReach * kLampReach);
        const double expected = std::pow(100 / r2, (1 + kLampFocus) / 2.0) * fade * fade;
        if (i == 0)
            scale = whole[0] / expected;
        EXPECT_NEAR(whole[i], scale * expected, 2) << x << " units out";
        EXPECT_NEAR(street[i], model[i], 1) << x << " units out, drawn as the track";
    }
    numLevelLights = 1;
    drawFloor(MIRRORED);
    Rgb mirrored = pixelAt(400 + 350, 300);
    EXPECT_GT(mirrored.r, edge.r + 40) << "the red reflection shows";
    EXPECT_EQ(mirrored.g, edge.g);
    numLevelLights = 0;
    glDeleteTextures(1, &white);
    glDeleteTextures(1, &red);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GlTest, FontSetsDrawTheirOwnGlyphs)
{
    flatView(800, 600);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_FOG);
    textColorMode = 0;
    textAlpha = 1.0f;
    printSmall(100, 100, 1, "A%c", 'z');
    printLarge(100, 400, 0, "Q");
    // The first glyph is sampled before the second one begins, the second after the first ends.
    // (Which glyph each set gives a character is the font's unit test.)
    EXPECT_EQ(glyphAt(pixelAt(104, 104)), 128 + 'A' - 32);
    EXPECT_EQ(glyphAt(pixelAt(125, 104)), 128 + 'z' - 32);
    EXPECT_EQ(glyphAt(pixelAt(112, 412)), 'Q' - 32);
    EXPECT_EQ(pixelAt(104, 104).b, 77);
    glEnable(GL_FOG);
}

TEST_F(GlTest, CountdownDrawsItsImageOverTheScene)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GLuint tex = solidTexture(0, 255, 0);
    GLuint saved = textureSet[TEX_COUNT_2];
    textureSet[TEX_COUNT_2] = tex;
    glDisable(GL_FOG);
    drawStartCountdown(4.5f);
    EXPECT_NEAR(pixelAt(400, 400).g, 128, 2) << "half faded in";
    EXPECT_EQ(pixelAt(300, 400).g, 0);
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    textureSet[TEX_COUNT_2] = saved;
    glDeleteTextures(1, &tex);
    glEnable(GL_FOG);
}

// The red channel of a texture, bottom row first.
std::vector<unsigned char> textureRed(GLuint texture, int width, int height)
{
    std::vector<unsigned char> rgba;
    int w = 0, h = 0;
    readTexture(texture, &rgba, &w, &h);
    rgba.resize(size_t(width * height * 4));
    std::vector<unsigned char> red(size_t(width * height));
    for (size_t i = 0; i < red.size(); i++)
        red[i] = rgba[i * 4];
    return red;
}

unsigned char redAt(int x, int y) { return pixelAt(x, y).r; }

// A frame of one flat grey with a white square of `side` pixels centred at (x, y).
void drawFrame(float grey, int x, int y, int side)
{
    glClearColor(grey, grey, grey, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    flatView(kWidth, kHeight);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glColor4f(1, 1, 1, 1);
    if (side > 0)
        glRecti(x - side / 2, y - side / 2, x + side / 2, y + side / 2);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
}

void postProcessAndComposite()
{
    postProcessFrame();
    beginOverlay();
    drawComposite();
    endOverlay();
}

// The two cloud layers as GL's spheres draw them, one pass each: the picture the one-pass dome
// must keep.
void drawLayersOneByOne(float scroll)
{
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(scroll, 0, 0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    const double keepAbove[4] = {0, 1, 0, -double(kSkyDomeCut)};
    glClipPlane(GL_CLIP_PLANE0, keepAbove);
    glEnable(GL_CLIP_PLANE0);
    glScalef(1, kSkyDomeFlattening, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0.1f, 0.1f, 0.15f, 0.5f);
    glBindTexture(GL_TEXTURE_2D, textureSet[TEX_CLOUDS]);
    GLUquadric *sphere = gluNewQuadric();
    gluQuadricTexture(sphere, GL_TRUE);
    gluSphere(sphere, kSkyDomeRadius, 16, 16);
    glMatrixMode(GL_TEXTURE);
    glTranslatef(scroll * 50, 0, 0); // the inner layer drifts faster
    glMatrixMode(GL_MODELVIEW);
    gluSphere(sphere, kSkyInnerLayerRadius, 16, 16);
    gluDeleteQuadric(sphere);
    glDisable(GL_BLEND);
    glDisable(GL_CLIP_PLANE0);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_CULL_FACE);
    drawHorizonBand(0, -20, 0, 5000, 400, 5000);
}

// Both cloud layers are drawn in one pass on the inner dome, the outer layer's picture taken where
// the eye's ray meets its sphere. Seen from a corner of the city (off the domes' centre, so the
// layers part), towards a pole of the spheres, up at the picture's seam overhead and across, the
// sky above the horizon must be the two domes drawn one by one, within two levels of rounding (one
// blend instead of two); with clouds in bold stripes, a layer turned, shifted or smeared across the
// seam would move whole bands by up to 19 levels. (Below the horizon the street hides the sky, and
// there the domes' cut edges and the outer pole's pinch part a little.) Every matrix is left as it
// was.
TEST_F(GlTest, SkyLayersInOnePassAreTheTwoDomesAndLeaveEveryMatrixAsItWas)
{
    std::vector<unsigned char> stripes;
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            const unsigned char v = (x / 8 + y / 4) % 2 ? 255 : 40;
            stripes.insert(stripes.end(), {v, v, v, (unsigned char)(128 + x * 2)});
        }
    GLuint clouds = 0, kept = textureSet[TEX_CLOUDS];
    glGenTextures(1, &clouds);
    glBindTexture(GL_TEXTURE_2D, clouds);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, stripes.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    textureSet[TEX_CLOUDS] = clouds;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(70, double(kWidth) / kHeight, 0.1, 15000);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(0.25f, 0, 0);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_FOG);
    const float eye[3] = {2000, 3, -1500}, targets[3][3] = {{2000, 300, 10000}, {0, 1700, -1500}, {-8000, 200, 0}};
    const GLenum matrices[3] = {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX, GL_TEXTURE_MATRIX};
    float before[3][16], after[3][16];
    const int rows = kHeight * 2 / 5; // the top of the frame: above the horizon in every view
    skyScroll = 0.3f; // the layers drift apart
    std::vector<unsigned char> frame[2];
    for (const auto &target : targets) {
        for (int one = 0; one < 2; one++) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glLoadIdentity();
            gluLookAt(eye[0], eye[1], eye[2], target[0], target[1], target[2], 0, 1, 0);
            for (int m = 0; m < 3; m++)
                glGetFloatv(matrices[m], before[m]);
            one ? drawSkyDome(eye, 0) : drawLayersOneByOne(skyScroll);
            for (int m = 0; m < 3; m++)
                glGetFloatv(matrices[m], after[m]);
            EXPECT_EQ(std::memcmp(before, after, sizeof before), 0) << "matrices restored bit for bit";
            frame[one].resize(size_t(kWidth * rows * 3));
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, kHeight - rows, kWidth, rows, GL_RGB, GL_UNSIGNED_BYTE, frame[one].data());
        }
        int worst = 0, lit = 0;
        for (size_t i = 0; i < frame[0].size(); i++) {
            worst = std::max(worst, std::abs(frame[0][i] - frame[1][i]));
            lit += frame[1][i] > 0;
        }
        EXPECT_GT(lit, kWidth * rows) << "the clouds fill the sky";
        EXPECT_LE(worst, 2) << "towards " << target[0] << ", " << target[1] << ", " << target[2];
    }

    // A building close ahead hides the sky low down: the layers' quads wholly behind it are left
    // out, and the frame is the one drawn in full. Told of the building without it standing
    // there, the sky shows the holes they leave, and is otherwise the whole sky.
    const float *ahead = targets[0];
    const std::vector<BuildingBox> building = {{{{1800, -1400}, {2200, -1400}, {2200, -1380}, {1800, -1380}}, -10, 250}};
    HidingPicture hiding;
    // Whether the building stands (its far face, black, in the depth buffer) and the sky is told.
    const bool stands[4] = {true, true, false, false}, told[4] = {false, true, true, false};
    std::vector<unsigned char> seen[4];
    for (int pass = 0; pass < 4; pass++) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(eye[0], eye[1], eye[2], ahead[0], ahead[1], ahead[2], 0, 1, 0);
        hiding.draw(building);
        glEnable(GL_DEPTH_TEST);
        if (stands[pass]) {
            glDisable(GL_TEXTURE_2D);
            glColor3f(0, 0, 0);
            // The footprint's first edge, the far side from the eye, wound to face it.
            const BuildingBox &b = building[0];
            glBegin(GL_QUADS);
            glVertex3f(b.corner[1][0], b.bottom, b.corner[1][1]);
            glVertex3f(b.corner[0][0], b.bottom, b.corner[0][1]);
            glVertex3f(b.corner[0][0], b.top, b.corner[0][1]);
            glVertex3f(b.corner[1][0], b.top, b.corner[1][1]);
            glEnd();
            glEnable(GL_TEXTURE_2D);
            glColor3f(1, 1, 1);
        }
        drawSkyDome(eye, 0, told[pass] ? &hiding : nullptr);
        seen[pass].resize(size_t(kWidth * kHeight * 3));
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, seen[pass].data());
    }
    EXPECT_TRUE(seen[0] == seen[1]) << "the sky left out is sky the building hides";
    size_t holes = 0, changed = 0;
    for (size_t i = 0; i < seen[2].size(); i++) {
        holes += seen[2][i] == 0 && seen[3][i] != 0;
        changed += seen[2][i] != 0 && seen[2][i] != seen[3][i];
    }
    EXPECT_GT(holes, size_t(kWidth * kHeight / 4)) << "most of the sky behind the building is left out";
    EXPECT_EQ(changed, 0u) << "what is drawn is drawn as in full";
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    const float scroll = skyScroll;
    drawSkyDome(eye, 1.0f);
    EXPECT_GT(skyScroll, scroll) << "the clouds drift";
    textureSet[TEX_CLOUDS] = kept;
    glDeleteTextures(1, &clouds);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_FOG);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The HDR pass keeps nearly white light, and less of it after frames whose glow round it was
// bright; yet a still picture's glow settles instead of swinging from frame to frame. (What it
// keeps of bright and dim frames shows in the composite below.)
TEST_F(GlTest, HdrThresholdRisesAfterBrightFramesAndAStillPictureSettles)
{
    drawFrame(0.9f, 400, 300, 0);
    copySceneTexture();
    int kept[2];
    for (unsigned char history : {255, 0}) { // black last: the next test starts without a glow history
        std::vector<unsigned char> glow(size_t(kGlow * kGlow * 4), history);
        glBindTexture(GL_TEXTURE_2D, glowHistory);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kGlow, kGlow, GL_RGBA, GL_UNSIGNED_BYTE, glow.data());
        postProcessPass(kPassHdr, 0);
        kept[history != 0] = textureRed(blurTextureA, kSmall, kSmall)[size_t(kSmall * kSmall / 2 + kSmall / 2)];
    }
    EXPECT_GT(kept[0], 0);
    EXPECT_LT(kept[1], kept[0]);

    // Windows of several brightnesses, each held still for a dozen frames from a dark history:
    // the last two frames are the same, round the window and in it. (With the ramp raised by the
    // last frame's glow alone, a window of 220 glowed 84 beside it and 1 in turn.)
    for (int level : {200, 220, 240, 255}) {
        std::vector<unsigned char> black(size_t(kGlow * kGlow * 4), 0), shown[2];
        glBindTexture(GL_TEXTURE_2D, glowHistory);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kGlow, kGlow, GL_RGBA, GL_UNSIGNED_BYTE, black.data());
        for (int frame = 0; frame < 12; frame++) {
            drawFrame(0, 0, 0, 0);
            glDisable(GL_TEXTURE_2D);
            glColor3ub(GLubyte(level), GLubyte(level), GLubyte(level * 7 / 8));
            glRecti(300, 280, 360, 340);
            glEnable(GL_TEXTURE_2D);
            postProcessAndComposite();
            shown[frame % 2].resize(size_t(100 * 100 * 3));
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(280, 260, 100, 100, GL_RGB, GL_UNSIGNED_BYTE, shown[frame % 2].data());
        }
        int most = 0;
        for (size_t i = 0; i < shown[0].size(); i++)
            most = std::max(most, std::abs(int(shown[0][i]) - int(shown[1][i])));
        EXPECT_LE(most, 1) << "the glow of a window of " << level << " swings by " << most;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GlTest, CompositeSpreadsBrightLightAndLeavesDimFramesAlone)
{
    // A white lamp of 6 x 6 pixels on black: after the chain its light reaches the pixels round
    // it, which were black, and the corner the passes drew in shows the picture again.
    drawFrame(0, 400, 300, 6);
    postProcessAndComposite();
    EXPECT_EQ(redAt(400, 300), 255);
    EXPECT_GT(redAt(400 + 8, 300), 0) << "glow to the side";
    EXPECT_GT(redAt(400, 300 - 8), 0) << "glow below";
    EXPECT_EQ(redAt(700, 100), 0) << "far away stays black";
    EXPECT_EQ(redAt(20, 20), 0) << "the passes' corner is covered by the picture";
    EXPECT_GT(textureRed(glowHistory, kGlow, kGlow)[size_t(kGlow * kGlow / 2 + kGlow / 2)], 0)
        << "the frame's glow goes into the next frame's glow history";

    // A dim grey frame has nothing bright enough to glow: the composite is the picture itself,
    // even with last frame's glow in the history.
    for (int frame = 0; frame < 2; frame++) {
        drawFrame(0.3f, 400, 300, 0);
        postProcessAndComposite();
    }
    std::vector<unsigned char> px(size_t(kWidth * kHeight * 4));
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    int grey = px[0], off = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        off += px[i] != grey;
    EXPECT_NEAR(grey, 77, 1);
    EXPECT_EQ(off, 0) << "pixels changed by the bloom of a dim frame";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The blurs and the composite are drawn only near light; frame and glow history must come out
// as the whole passes draw them, with small lamps of every colour next to the blocks' edges
// and in the corners, and with single glowing texels on the blocks' edge rows and columns,
// which the filter spreads into the next block.
TEST_F(GlTest, BloomDrawnNearTheLightAloneIsTheWholeBloom)
{
    auto addWholeGlow = [] {
        OverlayQuad all;
        all.texture = blurTextureA;
        all.x1 = kWidth;
        all.y1 = kHeight;
        all.blend = OVERLAY_LIGHT;
        drawOverlayQuad(all);
    };
    auto read = [](GLuint texture, std::vector<unsigned char> &frame, std::vector<unsigned char> &glow) {
        int width = 0, height = 0;
        readTexture(texture, &glow, &width, &height);
        frame.resize(size_t(kWidth * kHeight * 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    };
    const int spots[][5] = {{25, 300, 255, 255, 255}, {400, 18, 0, 0, 255}, {797, 597, 255, 0, 0},
                            {612, 431, 0, 255, 0},    {2, 2, 255, 255, 255}, {150, 453, 0, 0, 255}};
    std::vector<unsigned char> black(size_t(kGlow * kGlow * 4), 0), frame[2], glow[2], history[2];
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int whole = 0; whole < 2; whole++) {
        glBindTexture(GL_TEXTURE_2D, glowHistory);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kGlow, kGlow, GL_RGBA, GL_UNSIGNED_BYTE, black.data());
        drawFrame(0, 0, 0, 0);
        glDisable(GL_TEXTURE_2D);
        for (const auto &s : spots) {
            glColor3ub(GLubyte(s[2]), GLubyte(s[3]), GLubyte(s[4]));
            glRecti(s[0] - 3, s[1] - 3, s[0] + 3, s[1] + 3);
        }
        glEnable(GL_TEXTURE_2D);
        if (whole) {
            copySceneTexture();
            postProcessPass(kPassHdr, 0);
            postProcessPass(kPassBlur, 1);
            postProcessPass(kPassBlur, 2);
            beginOverlay();
            addWholeGlow();
            endOverlay();
            frameHoldsScene = false;
        } else {
            postProcessAndComposite();
        }
        read(blurTextureA, frame[whole], glow[whole]);
        int width = 0, height = 0;
        readTexture(glowHistory, &history[whole], &width, &height);
    }
    size_t lit = 0;
    for (size_t i = 0; i < glow[1].size(); i += 4)
        lit += (glow[1][i] | glow[1][i + 1] | glow[1][i + 2]) != 0;
    EXPECT_GT(lit, 100u) << "the lamps glow";
    EXPECT_LT(lit, size_t(kGlow * kGlow / 2)) << "and the dark between them stays dark";
    EXPECT_TRUE(glow[0] == glow[1]) << "the glow differs";
    EXPECT_TRUE(history[0] == history[1]) << "the glow history differs";
    EXPECT_TRUE(frame[0] == frame[1]) << "the frame differs";

    // Blocks of the glow are 4 texels a side.
    std::vector<unsigned char> edges = black;
    for (int t : {3, 4, 127, 0, 50})
        for (int k = 0; k < 3; k++)
            edges[(size_t(t) * kGlow + size_t((t * 37 + 15) % kGlow)) * 4 + size_t(k)] = 255;
    glBindTexture(GL_TEXTURE_2D, blurTextureA);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kGlow, kGlow, GL_RGBA, GL_UNSIGNED_BYTE, edges.data());
    for (int whole = 0; whole < 2; whole++) {
        drawFrame(0, 0, 0, 0);
        beginOverlay();
        frameHoldsScene = true; // the composite adds the glow alone
        whole ? addWholeGlow() : drawComposite();
        endOverlay();
        read(blurTextureA, frame[whole], glow[whole]);
    }
    frameHoldsScene = false;
    EXPECT_TRUE(frame[0] == frame[1]) << "a glow cut off at a block's edge";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// HUD pictures are drawn only where they can change the frame: a mask pair where the mask is
// not white or the light not black, a mostly clear picture where it is not clear. Shrunk as the
// HUD shrinks them, with a spot of each next to a block's edge, they must come out as the
// whole quads do, over a frame with something in every pixel.
TEST_F(GlTest, HudPicturesDrawnWhereTheyShowAreTheWholePictures)
{
    auto texture = [](GLint filter, auto texel) {
        std::vector<unsigned char> rgba;
        for (int y = 0; y < 256; y++)
            for (int x = 0; x < 256; x++) {
                std::array<unsigned char, 4> c = texel(x, y);
                rgba.insert(rgba.end(), c.begin(), c.end());
            }
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return name;
    };
    auto spot = [](int x, int y, int cx, int cy) { return std::abs(x - cx) < 3 && std::abs(y - cy) < 3; };
    using Texel = std::array<unsigned char, 4>;
    GLuint mask = texture(GL_LINEAR_MIPMAP_NEAREST, [&](int x, int y) {
        return spot(x, y, 45, 109) ? Texel{90, 200, 255, 255} : Texel{255, 255, 255, 255};
    });
    GLuint light = texture(GL_LINEAR_MIPMAP_NEAREST, [&](int x, int y) {
        return spot(x, y, 150, 25) ? Texel{255, 120, 0, 255} : Texel{0, 0, 0, 255};
    });
    GLuint clear = texture(GL_LINEAR_MIPMAP_LINEAR, [&](int x, int y) {
        return spot(x, y, 141, 77) || spot(x, y, 100, 180) ? Texel{0, 255, 90, 200} : Texel{255, 255, 255, 0};
    });
    // The mask and light in one pass where the driver blends with a second colour (Mesa's does),
    // and in the two passes any other driver gets: both must leave the whole pictures' pixels.
    ASSERT_NE(maskedLightProgram, 0u) << "this driver blends with a second colour";
    const GLhandleARB onePass = maskedLightProgram;
    for (GLhandleARB masked : {onePass, GLhandleARB(0)}) {
        maskedLightProgram = masked;
        std::vector<unsigned char> frame[2];
        for (int whole = 0; whole < 2; whole++) {
            drawFrame(0, 0, 0, 0);
            glDisable(GL_TEXTURE_2D);
            glBegin(GL_QUADS); // a different colour in every pixel
            glColor3f(0.2f, 0.1f, 0.6f), glVertex2i(0, 0);
            glColor3f(0.9f, 0.3f, 0.1f), glVertex2i(kWidth, 0);
            glColor3f(0.4f, 0.8f, 0.3f), glVertex2i(kWidth, kHeight);
            glColor3f(0.7f, 0.6f, 0.9f), glVertex2i(0, kHeight);
            glEnd();
            glEnable(GL_TEXTURE_2D);
            beginOverlay();
            OverlayQuad q;
            q.x0 = 100, q.y0 = 100, q.x1 = 164, q.y1 = 164; // shrunk four times
            OverlayQuad gauge = q;
            gauge.texture = clear;
            gauge.x0 = 300, gauge.x1 = 430, gauge.y1 = 100 + 130 * 0.6f, gauge.t1 = 0.6f; // partly shown
            if (whole) {
                q.texture = mask, q.blend = OVERLAY_MASK;
                drawOverlayPieces(q, &kWholeQuad, 1);
                q.texture = light, q.blend = OVERLAY_LIGHT;
                drawOverlayPieces(q, &kWholeQuad, 1);
                drawOverlayQuad(gauge);
            } else {
                drawMaskedQuad(q, mask, light);
                drawMostlyClearQuad(gauge);
            }
            endOverlay();
            frame[whole].resize(size_t(kWidth * kHeight * 3));
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, frame[whole].data());
        }
        EXPECT_TRUE(frame[0] == frame[1]) << (masked ? "in one pass" : "in two passes") << ": a HUD picture drawn short";
    }
    maskedLightProgram = onePass;
    // A quad without a picture is its colour alone, whatever picture the quad before it had.
    beginOverlay();
    OverlayQuad plain;
    plain.x0 = 500, plain.y0 = 300, plain.x1 = 560, plain.y1 = 360;
    plain.color[0] = 0.2f, plain.color[1] = 0.6f, plain.color[2] = 1.0f;
    drawOverlayQuad(plain);
    endOverlay();
    EXPECT_EQ(pixelAt(530, 330), (Rgb{51, 153, 255}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The paint's mirror picture comes out turned left to right, and turning it does not cost the
// solid models their front faces (which would leave the mirror showing only the sky). Whatever
// is drawn into it reaches every texel the paint can read: the sphere map's circle and the texel
// round it that the filter takes.
TEST_F(GlTest, ReflectionPictureIsTurnedAndKeepsFrontFaces)
{
    auto picture = [](float left, float right) {
        beginReflectionPicture();
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glDisable(GL_TEXTURE_2D);
        glColor4f(1, 0, 0, 1);
        // The eye looks down -z with a 90 degree view, so x = -2 and 2 are the view's edges at
        // this depth; the quad is wound counter-clockwise as seen.
        glBegin(GL_QUADS);
        glVertex3f(left, -9, -2);
        glVertex3f(right, -9, -2);
        glVertex3f(right, 9, -2);
        glVertex3f(left, 9, -2);
        glEnd();
        glColor4f(1, 1, 1, 1);
        glEnable(GL_TEXTURE_2D);
        endReflectionPicture();
        glDisable(GL_CULL_FACE);
        return textureRed(reflectionTexture, kReflectionSize, kReflectionSize);
    };
    std::vector<unsigned char> red = picture(-3, -1); // the left quarter of the view
    const size_t middleRow = size_t(kReflectionSize * kReflectionSize / 2);
    EXPECT_EQ(red[middleRow + kReflectionSize / 8], 0) << "the left quarter is empty";
    EXPECT_EQ(red[middleRow + kReflectionSize * 7 / 8], 255) << "the quad shows on the right";

    red = picture(-9, 9); // the whole view
    const float half = kReflectionSize / 2.0f;
    int missing = 0;
    for (int y = 0; y < kReflectionSize; y++)
        for (int x = 0; x < kReflectionSize; x++) {
            // The nearest point to the middle that reads this texel lies up to a texel nearer.
            float dx = std::max(std::fabs(float(x) + 0.5f - half) - 1.0f, 0.0f);
            float dy = std::max(std::fabs(float(y) + 0.5f - half) - 1.0f, 0.0f);
            if (dx * dx + dy * dy < half * half && red[size_t(y * kReflectionSize + x)] != 255)
                missing++;
        }
    EXPECT_EQ(missing, 0) << "texels the paint reads left undrawn";
    GLint front = 0;
    glGetIntegerv(GL_FRONT_FACE, &front);
    EXPECT_EQ(front, GL_CCW) << "the frame's winding given back";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace

int main(int argc, char **argv)
{
    return runInScratchWindow(argc, argv, window, kWidth, kHeight, [](const TempDir &dir) {
        dir.write("base/textures/tex42.bmp", solidBmp(8, 8, {20, 40, 200}));
        dir.write("base/textures/tex41.bmp", solidBmp(8, 8, {230, 120, 10}));
        dir.write("base/textures/tex01.tga", glyphTga());
    });
}
