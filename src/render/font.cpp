// Bitmap fonts: one image of 16 x 16 glyphs, two sizes, two glyph sets of 128 each.
#include "render/font.h"

#include <cstdio>

#include "render/images.h"
#include "render/texture_names.h"

int textColorMode;
float textAlpha = 1.0f;

namespace {

enum FontSize { kSmall, kLarge };

struct FontShape {
    float width, height, advance;
};
const FontShape kShapes[2] = {{19.0f, 20.0f, 10.0f}, {25.0f, 27.0f, 13.0f}};

void printText(FontSize size, int x, int y, int set, const char *format, va_list args)
{
    if (!format)
        return;
    char text[kTextBufferSize];
    int length = formatOverlayText(text, format, args);

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
    // One batch for the whole line: a draw of its own for each glyph costs more than its pixels.
    const FontShape &shape = kShapes[size];
    glBegin(GL_QUADS);
    for (int i = 0; i < length; i++) {
        int glyph = glyphIndex(set, (unsigned char)text[i]); // always one of the image's 256
        float s = float(glyph % 16) / 16.0f;
        float t = 1.0f - float(glyph / 16) / 16.0f; // rows counted from the top of the image
        float x0 = shape.advance * float(i), x1 = x0 + shape.width;
        glTexCoord2f(s, t - 0.0625f);
        glVertex2f(x0, 0.0f);
        glTexCoord2f(s + 0.0625f, t - 0.0625f);
        glVertex2f(x1, 0.0f);
        glTexCoord2f(s + 0.0625f, t);
        glVertex2f(x1, shape.height);
        glTexCoord2f(s, t);
        glVertex2f(x0, shape.height);
    }
    glEnd();

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    endVirtualScreen();
    glPopMatrix();
    glBlendFunc(GL_ONE, GL_ONE);
    if (size == kSmall)
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

} // namespace

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
