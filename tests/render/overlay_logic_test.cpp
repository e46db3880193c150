// The parts of text, countdown and extension handling that are plain logic.
#include <gtest/gtest.h>

#include <string>

#include "render/font.h"
#include "render/render.h"

namespace {

int format(char (&out)[kTextBufferSize], const char *fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    int n = formatOverlayText(out, fmt, args);
    va_end(args);
    return n;
}

TEST(OverlayTextTest, LongTextIsCutAt255Characters)
{
    char out[kTextBufferSize];
    std::string longText(400, 'x');
    EXPECT_EQ(format(out, "%s", longText.c_str()), 255);
    EXPECT_EQ(std::string(out), std::string(255, 'x'));
    EXPECT_EQ(format(out, "Lap %d/%d", 2, 4), 7);
    EXPECT_STREQ(out, "Lap 2/4");
}

TEST(OverlayTextTest, SetsSelectTheirHalfOfTheGlyphs)
{
    EXPECT_EQ(glyphIndex(1, 'A'), 128 + 'A' - 32);
    EXPECT_EQ(glyphIndex(0, 'A'), 'A' - 32);
    EXPECT_EQ(glyphIndex(5, 'A'), glyphIndex(1, 'A'));
    EXPECT_EQ(glyphIndex(-3, 'A'), glyphIndex(1, 'A'));
    EXPECT_EQ(glyphIndex(1, 159), 255);
    // Codes whose glyph would lie outside the image's 256 are drawn as blanks, never as some
    // other glyph.
    EXPECT_EQ(glyphIndex(1, 200), glyphIndex(1, ' '));
    EXPECT_EQ(glyphIndex(0, '\t'), glyphIndex(0, ' '));
    EXPECT_EQ(glyphIndex(0, 200), 168) << "still one of the image's own glyphs";
}

struct CountdownCase {
    float timer;
    int entry; // -1: nothing drawn
    float alpha;
};

TEST(CountdownTest, ImagesChangeStrictlyBetweenTheMarks)
{
    const CountdownCase cases[] = {
        {2.99f, -1, 0},  {3.0f, -1, 0},   {3.25f, 46, 0.25f}, {4.0f, -1, 0},   {4.5f, 45, 0.5f},
        {5.0f, -1, 0},   {5.75f, 44, 0.75f}, {6.0f, -1, 0},  {6.5f, 43, 0.5f}, {7.0f, 43, 1.0f},
        {7.75f, 43, 0.25f}, {8.0f, -1, 0}, {9.0f, -1, 0},
    };
    for (const CountdownCase &c : cases) {
        SCOPED_TRACE(c.timer);
        CountdownImage image{};
        bool drawn = countdownImageAt(c.timer, &image);
        EXPECT_EQ(drawn, c.entry >= 0);
        if (drawn) {
            EXPECT_EQ(image.textureSetEntry, c.entry);
            EXPECT_NEAR(image.alpha, c.alpha, 1e-5);
        }
    }
}

TEST(ExtensionNameTest, NamesMatchAsInOrderCharactersWithinOneName)
{
    const char *list = "GL_ARB_imaging GL_ARB_multitexture GL_EXT_texture_env_combine";
    EXPECT_TRUE(extensionListed(list, "GL_ARB_multitexture"));
    // A name that merely holds the wanted one's characters in order satisfies the check.
    EXPECT_TRUE(extensionListed("GL_xARBx_multitexturex", "GL_ARB_multitexture"));
    // The characters must all lie within a single name, not spread over two.
    EXPECT_FALSE(extensionListed("GL_ARB_multi texture", "GL_ARB_multitexture"));
    EXPECT_FALSE(extensionListed("GL_ARB_multi\ntexture", "GL_ARB_multitexture"));
    EXPECT_FALSE(extensionListed("GL_ARB_texture_multi", "GL_ARB_multitexture"));
    EXPECT_FALSE(extensionListed("", "GL_ARB_multitexture"));
    EXPECT_FALSE(extensionListed(nullptr, "GL_ARB_multitexture"));
    EXPECT_TRUE(extensionListed("  GL_ARB_multitexture  ", "GL_ARB_multitexture"));
}

} // namespace
