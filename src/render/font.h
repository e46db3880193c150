// Bitmap text on the virtual 800 x 600 screen, and the race-start countdown overlay.
#pragma once
#include <cstdarg>

#include "render/gl_ext.h"

// The glyph image holds 256 glyphs, 16 to a row from the top left: 0..127 are the alternate
// set (0), 128..255 the ordinary set (1).
extern int textColorMode; // 0 white, 1 grey (small) / red (large), 2 green; other: current colour
extern float textAlpha;

constexpr int kTextBufferSize = 256; // longer text is cut to 255 characters

// The virtual 800 x 600 screen of every 2D element: pushes an orthographic projection (origin
// bottom left) and leaves the modelview current; endVirtualScreen pops it again.
void beginVirtualScreen();
void endVirtualScreen();
// Text over the finished picture: blending on and lighting off around the printing.
void beginOverlayText();
void endOverlayText();
// x, y: virtual screen, origin bottom left. set: 1 ordinary glyphs, 0 alternate glyphs, above 1
// counts as 1.
void printSmall(int x, int y, int set, const char *format, ...) __attribute__((format(printf, 4, 5)));
void printLarge(int x, int y, int set, const char *format, ...) __attribute__((format(printf, 4, 5)));
// Formats into out (always NUL-terminated, cut to kTextBufferSize - 1 characters) and returns
// the length written.
int formatOverlayText(char (&out)[kTextBufferSize], const char *format, va_list args);
// The glyph of character code c in a glyph set (set above 1 counts as 1). Codes whose glyph
// would lie outside the image's 256 come out as the set's space.
int glyphIndex(int set, unsigned char c);

// The countdown image of one moment of overlayTimer, if any.
struct CountdownImage {
    int textureSetEntry;
    float x0, y0, x1, y1;
    float alpha;
};
bool countdownImageAt(float timer, CountdownImage *out);
// The countdown image of overlayTimer's moment over the finished picture.
void drawStartCountdown(float overlayTimer);
