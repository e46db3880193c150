// Display-list fonts: one 16 x 16 glyph image, two sizes, two glyph sets of 128 each.
#include "render/font.h"

#include <cstdio>

#include "render/images.h"
#include "render/texture_names.h"

GLuint smallFontBase;
GLuint largeFontBase;
int textColorMode;
float textAlpha = 1.0f;

namespace {

enum FontSize { kSmall, kLarge };

struct FontShape {
    float width, height, advance;
};
const FontShape kShapes[2] = {{19.0f, 20.0f, 10.0f}, {25.0f, 27.0f, 13.0f}};

GLuint buildFontLists(const FontShape &shape)
{
    GLuint base = glGenLists(256);
    for (int g = 0; g < 256; g++) {
        float s = float(g % 16) / 16.0f;
        float t = 1.0f - float(g / 16) / 16.0f; // rows counted from the top of the image
        glNewList(base + g, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(s, t - 0.0625f);
        glVertex2f(0.0f, 0.0f);
        glTexCoord2f(s + 0.0625f, t - 0.0625f);
        glVertex2f(shape.width, 0.0f);
        glTexCoord2f(s + 0.0625f, t);
        glVertex2f(shape.width, shape.height);
        glTexCoord2f(s, t);
        glVertex2f(0.0f, shape.height);
        glEnd();
        glTranslatef(shape.advance, 0.0f, 0.0f);
        glEndList();
    }
    return base;
}

void printText(FontSize size, int x, int y, int set, const char *format, va_list args)
{
    if (!format)
        return;
    char text[kTextBufferSize];
    int length = formatOverlayText(text, format, args);
    // Codes that fall outside the 256 lists would call some other display list; they are
    // drawn as blanks instead.
    GLubyte glyphs[kTextBufferSize];
    for (int i = 0; i < length; i++)
        glyphs[i] = GLubyte(glyphIndex(set, (unsigned char)text[i]));

    glDisable(GL_DEPTH_TEST);
    beginVirtualScreen();
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, size == kSmall ? y - 3 : y, 0);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    switch (textColorMode) {
    case 0: glColor4f(1.0f, 1.0f, 1.0f, textAlpha); break;
    case 1:
        if (size == kSmall)
            glColor4f(0.6f, 0.6f, 0.6f, textAlpha);
        else
            glColor4f(1.0f, 0.0f, 0.0f, textAlpha);
        break;
    case 2: glColor4f(0.0f, 1.0f, 0.0f, textAlpha); break;
    default: break;
    }
    glBindTexture(GL_TEXTURE_2D, tgaSet[TGA_FONT].texture);
    glListBase(size == kSmall ? smallFontBase : largeFontBase);
    glCallLists(length, GL_UNSIGNED_BYTE, glyphs);

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    endVirtualScreen();
    glPopMatrix();
    glBlendFunc(GL_ONE, GL_ONE);
    if (size == kSmall)
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

} // namespace

void buildFonts()
{
    glBindTexture(GL_TEXTURE_2D, uiTextures[UITEX_FONT_SHEET]);
    smallFontBase = buildFontLists(kShapes[kSmall]);
    largeFontBase = buildFontLists(kShapes[kLarge]);
}

void beginVirtualScreen()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 800, 0, 600, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

void endVirtualScreen()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void deleteFonts()
{
    if (smallFontBase)
        glDeleteLists(smallFontBase, 256);
    if (largeFontBase)
        glDeleteLists(largeFontBase, 256);
    smallFontBase = largeFontBase = 0;
}

int formatOverlayText(char (&out)[kTextBufferSize], const char *format, va_list args)
{
    int n = std::vsnprintf(out, sizeof out, format, args);
    if (n < 0) {
        out[0] = 0;
        return 0;
    }
    return n < kTextBufferSize ? n : kTextBufferSize - 1;
}

int glyphIndex(int set, unsigned char c)
{
    if (set > 1 || set < 0)
        set = 1;
    int glyph = set * 128 + c - 32;
    return glyph >= 0 && glyph < 256 ? glyph : set * 128;
}

void printSmall(int x, int y, int set, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    printText(kSmall, x, y, set, format, args);
    va_end(args);
}

void printLarge(int x, int y, int set, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    printText(kLarge, x, y, set, format, args);
    va_end(args);
}

void beginOverlayText()
{
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
}

void endOverlayText() { glDisable(GL_BLEND); }
