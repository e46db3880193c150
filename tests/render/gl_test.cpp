// The renderer on a real GL context (Xvfb + Mesa): textures, models, the light program, fonts,
// the countdown and the model viewer. The window is opened once, through the shell, in a
// scratch directory holding the shaders and the images the tests make.
#include "render/gl_pixels.h"
#include "render/lights.h"
#include "render/model_viewer.h"
#include "render/ms3d.h"
#include "common/common.h"
#include "support/ms3d_write.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

constexpr int kWidth = 800, kHeight = 600;

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
    void SetUp() override { ASSERT_TRUE(window->opened) << "the game window with its GL set-up must open"; }
};

// Saved for people beside the build's other pictures, through the game's own screenshot writer.
void saveFrame(const char *name) { EXPECT_TRUE(saveScreenshot((window->previous / name).c_str())); }

// Rows of 2 RGB pixels are 6 bytes: they upload straight only with byte alignment.
TEST_F(GlTest, BitmapTexturesUploadRowsWithoutPadding)
{
    TempDir dir;
    BmpLayout s;
    s.width = 2;
    s.height = 2;
    s.pixel = [](int x, int row) { return uint32_t(0x103050 + x * 0x40 + row * 0x400000); };
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4); // as GL starts
    GLuint name = loadBmpTexture(dir.write("p.bmp", makeBmp(s)).c_str());
    ASSERT_NE(name, 0u);
    glBindTexture(GL_TEXTURE_2D, name);
    unsigned char px[12];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, px);
    const unsigned char want[12] = {0x10, 0x30, 0x50, 0x10, 0x30, 0x90, 0x50, 0x30, 0x50, 0x50, 0x30, 0x90};
    EXPECT_EQ(std::memcmp(px, want, 12), 0);
    glDeleteTextures(1, &name);
}

TEST_F(GlTest, TextureSetsLoadAllOrNothing)
{
    namespace fs = std::filesystem;
    fs::path textures = window->dir.path / "base/textures";
    for (int i = 0; i < kTextureSetFiles; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "base/textures/tex%02d.bmp", i);
        if (!fs::exists(name))
            window->dir.write(name, solidBmp(4, 4, {(unsigned char)i, 0, 0}));
    }
    // A file missing: its set is refused whole (the file is put aside, then back).
    fs::rename(textures / "tex27.bmp", textures / "aside.bmp");
    std::fill(std::begin(textureSet), std::end(textureSet), 0u);
    EXPECT_FALSE(loadTextureSet());
    for (GLuint t : textureSet)
        ASSERT_EQ(t, 0u);
    fs::rename(textures / "aside.bmp", textures / "tex27.bmp");
    ASSERT_TRUE(loadTextureSet());
    for (int i = 0; i < kTextureSetSize; i++)
        ASSERT_NE(textureSet[i], 0u) << i;
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
    // sent as the race frame does.
    GLuint white = plainTexture(255, 255, 255), red = plainTexture(255, 0, 0);
    levelLights[0] = {{0, 10, 0}, {0.7f, 0.7f, 0.4f}, {0, -1, 0}, 5, 0, 0, 0};
    numLevelLights = 1;

    auto drawFloor = [&](bool reflection) {
        flatView(100, 75, -100, -75, 100);
        glRotatef(90, 1, 0, 0); // look straight down the y axis
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        beginLitScene();
        const float eye[3] = {0, 50, 0}, ahead[3] = {1, 0, 0};
        selectLights(eye, ahead, false);
        setLightMaterial();
        prepareObjectLights(nullptr);
        sendObjectLights();
        setPaintReflection(reflection, red);
        glBindTexture(GL_TEXTURE_2D, white);
        glDisable(GL_CULL_FACE);
        glBegin(GL_QUADS);
        glNormal3f(0, 1, 0); // (one-texel textures: any texture coordinate reads the same)
        glVertex3f(-100, 0, -100);
        glVertex3f(100, 0, -100);
        glVertex3f(100, 0, 100);
        glVertex3f(-100, 0, 100);
        glEnd();
        setPaintReflection(false);
        endLitScene();
        glEnable(GL_CULL_FACE);
    };
    drawFloor(false);
    saveFrame("render_gl_light.png");
    // Right under the lamp the light runs to white; a few units out the pool keeps its colour.
    Rgb under = pixelAt(400, 300), pool = pixelAt(400 + 20, 300), edge = pixelAt(400 + 350, 300);
    EXPECT_GT(under.r, 150) << "right under the lamp";
    EXPECT_GT(pool.r, pool.b + 30) << "the lamp's yellowish colour";
    // Far from the pool only the ambient floor and the far light remain.
    EXPECT_LT(edge.r, 90);
    EXPECT_GT(edge.r, 10);
    drawFloor(true);
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
    GLuint tex = plainTexture(0, 255, 0);
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

TEST_F(GlTest, ModelViewerFitsTheModelIntoTheView)
{
    TempDir dir;
    EXPECT_FALSE(viewModelLoad(dir.file("none.ms3d").c_str()));
    Ms3dLayout layout = quadModel(dir.write("red.bmp", solidBmp(2, 2, {255, 0, 0})));
    for (Ms3dVertex &v : layout.vertices) { // far from the origin and large: the view must follow
        v.x = v.x * 50 + 1000;
        v.y = v.y * 50 - 300;
    }
    ASSERT_TRUE(viewModelLoad(dir.write("q.ms3d", makeMs3d(layout)).c_str()));
    viewModelDraw(kWidth, kHeight, 0.0f);
    Rgb centre = pixelAt(kWidth / 2, kHeight / 2);
    EXPECT_GT(centre.r, 100);
    EXPECT_LT(centre.g, 30);
    EXPECT_LT(pixelAt(5, 5).r, 100) << "the background shows around the model";
    viewModelRelease();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace

int main(int argc, char **argv)
{
    return runInScratchWindow(argc, argv, window, kWidth, kHeight, [](const TempDir &dir) {
        dir.write("base/textures/tex42.bmp", solidBmp(8, 8, {20, 40, 200}));
        dir.write("base/textures/tex41.bmp", solidBmp(8, 8, {230, 120, 10}));
        dir.write("base/textures/tex00.bmp", solidBmp(4, 4, {255, 255, 255}));
        dir.write("base/textures/tex40.bmp", solidBmp(4, 4, {1, 2, 3}));
        dir.write("base/textures/tex01.tga", glyphTga());
    });
}
