// The glyph sheet: 16 x 16 cells of 64 pixels. Rows 8-15 hold the ordinary set (1), rows 0-7 the
// racing set (0) that the HUD numbers use. The printer draws a cell as a 19 x 20 (small) or
// 25 x 27 (large) quad and advances 10 or 13 units, so a character lives in the left 52% of its
// cell; its baseline sits 14 pixels above the cell bottom so descenders stay inside the cell and
// away from the neighbour below when mipmaps blend.
#include "gen2d.h"

namespace {

const int sheetSize = 1024, cell = 64;
const float baseline = 50.0f;   // from the cell top
const float emPixels = 52.0f;   // DejaVu Sans Mono advance 0.602 em = 31.3 px of the 33.5 px step
const float advanceBox = 33.5f; // 10/19 and 13/25 of the cell, the printers' step

Mask glyphMask(FontId font, unsigned code)
{
    Mask m = makeMask(cell, cell);
    if (code == 127) { // DEL has no glyph; show a solid block cursor so the code is not blank
        for (int y = 14; y < int(baseline); y++)
            for (int x = 5; x < 28; x++)
                m.at(x, y) = 1.0f;
        return m;
    }
    GlyphBitmap g = renderGlyph(font, emPixels, code);
    float pen = (advanceBox - g.advance) * 0.5f;
    int ox = int(std::lround(pen)) + g.left, oy = int(baseline) - g.top;
    for (int y = 0; y < g.h; y++)
        for (int x = 0; x < g.w; x++) {
            int mx = ox + x, my = oy + y;
            if (mx >= 1 && my >= 1 && mx < cell - 1 && my < cell - 1)
                m.at(mx, my) = g.gray[size_t(y) * g.w + x] / 255.0f;
        }
    return m;
}

Mask grown(const Mask &ink, float radius, float gain)
{
    Mask o = ink;
    blurMask(o, radius);
    for (float &v : o.v)
        v = clamp01(v * gain);
    return o;
}

void drawOrdinary(Image &img, unsigned code, int ox, int oy)
{
    Mask ink = glyphMask(FONT_MONO, code);
    Mask outline = grown(ink, 2.0f, 3.0f);
    paintMaskColor(img, outline, ox, oy, rgb(0.0f, 0.01f, 0.04f, 0.75f));
    paintMaskColor(img, ink, ox, oy, rgb(1, 1, 1));
}

// Racing set: bold oblique with a stencil slit, a steel-to-white fill and a hard drop shadow.
void drawRacing(Image &img, unsigned code, int ox, int oy)
{
    Mask ink = glyphMask(FONT_MONO_BOLD_OBLIQUE, code);
    const float slitTop = baseline - 17.0f, slitBottom = baseline - 15.0f;
    Mask cut = ink;
    for (int y = 0; y < cell; y++) {
        float k = 1.0f - clamp01(std::min(y + 1.0f - slitTop, slitBottom - y));
        if (code > 32 && code != 127)
            for (int x = 0; x < cell; x++)
                cut.at(x, y) *= k;
    }
    Mask shadow = grown(ink, 1.5f, 4.0f);
    paintMaskColor(img, shadow, ox + 3, oy + 3, rgb(0.0f, 0.02f, 0.08f, 0.85f));
    Mask outline = grown(ink, 1.2f, 3.0f);
    paintMaskColor(img, outline, ox, oy, rgb(0.02f, 0.05f, 0.14f, 0.9f));
    Ramp fill{{{0.0f, rgb(1, 1, 1)}, {0.45f, rgb(0.93f, 0.97f, 1.0f)}, {0.55f, rgb(0.62f, 0.78f, 1.0f)},
               {1.0f, rgb(0.9f, 0.95f, 1.0f)}}};
    paintMask(img, cut, ox, oy, [&](float, float y) {
        float t = clamp01(((y - oy) - (baseline - 38.0f)) / 38.0f);
        return fill.at(t);
    });
}

} // namespace

bool paintFont()
{
    Image img = makeImage(sheetSize, sheetSize, rgb(1, 1, 1, 0));
    for (int set = 0; set < 2; set++)
        for (unsigned code = 32; code < 128; code++) {
            int g = set * 128 + int(code) - 32;
            // Each glyph is painted in its own cell picture and copied in without its border row
            // and column, so shadows never reach a neighbour that filtering would sample.
            Image c = makeImage(cell, cell, rgb(1, 1, 1, 0));
            if (set == 1)
                drawOrdinary(c, code, 0, 0);
            else
                drawRacing(c, code, 0, 0);
            int ox = (g % 16) * cell, oy = (g / 16) * cell;
            for (int y = 1; y < cell - 1; y++)
                for (int x = 1; x < cell - 1; x++)
                    img.at(ox + x, oy + y) = c.at(x, y);
        }
    bool ok = saveSetTga(TGA_FONT, img, true, "font glyphs");
    // The interface copy is the same sheet without alpha, white glyphs on black.
    Image rgbSheet = img;
    for (Color &c : rgbSheet.px) {
        float lum = std::max(c.r, std::max(c.g, c.b));
        c = rgb(lum * c.a, lum * c.a, lum * c.a);
    }
    ok = saveSetBmp(TEX_FONT_SHEET, rgbSheet, "font sheet rgb") && ok;
    return ok;
}
