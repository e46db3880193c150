// Menu pictures: the panel over the garage, the logo, the left-column buttons, the cursor,
// the tuning packets, the value bars, the options plate and the race-select markers.
// Several are tinted by the game (select bar, packets), so they are painted light and neutral.
#include "gen2d.h"

namespace {

const float PI = 3.14159265f;

// ---- full-screen panel, 800 x 600 ----

Image panel()
{
    UnitFrame f{1024, 1024, 800, 600};
    Image img = makeImage(f.w, f.h, rgb(0.02f, 0.04f, 0.1f, 0.0f));
    const float colW = 172;
    // Left column: dark glass, denser at the left edge.
    fillUnitsBox(img, f, -20, -10, colW + 2, 610, [&](float u, float v) { return sdBox(u, v, colW * 0.5f - 10, 300, colW * 0.5f + 10, 310); },
              [&](float u, float v) {
                  float a = lerp(0.82f, 0.62f, u / colW);
                  float scan = (int(f.py(v)) % 4 == 0) ? 0.04f : 0.0f; // faint scanlines
                  return rgb(0.02f, 0.035f + scan, 0.08f + scan, a);
              });
    // Focus row across the column where the highlighted item sits.
    fillUnitsBox(img, f, 0, 278, colW, 330, [&](float u, float v) { return sdBox(u, v, colW * 0.5f, 304, colW * 0.5f, 26); },
              [&](float u, float) { return rgb(0.1f, 0.25f, 0.6f, 0.35f * (1 - u / colW * 0.7f)); });
    // Title bar across the top with a slanted foot at its left end.
    std::vector<float> title = {colW - 2, 606, 806, 606, 806, 552, colW + 24, 552};
    fillUnitsBox(img, f, colW - 4, 550, 806, 606, [&](float u, float v) { return sdPolygon(u, v, title); }, [&](float u, float) {
        return rgb(0.02f, 0.04f, 0.1f, lerp(0.75f, 0.45f, (u - colW) / (800 - colW)));
    });
    // Info plate at the bottom for the car values and notices.
    std::vector<float> info = {colW - 2, -6, 470, -6, 470, 88, 446, 108, colW - 2, 108};
    fillUnitsBox(img, f, colW - 4, -6, 472, 110, [&](float u, float v) { return sdPolygon(u, v, info); },
              [&](float, float) { return rgb(0.02f, 0.04f, 0.1f, 0.6f); });
    // Neon edges: all lines go into one layer that is blurred once for the glow.
    Image lines = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    auto line = [&](float ax, float ay, float bx, float by, Color c, float w) {
        fillUnitsBox(lines, f, std::min(ax, bx) - 8, std::min(ay, by) - 8, std::max(ax, bx) + 8,
                     std::max(ay, by) + 8, [&](float u, float v) { return sdSegment(u, v, ax, ay, bx, by) - w; },
                     [&](float, float) { return c; });
    };
    line(colW, 0, colW, 552, pal::cyan, 0.9f);
    line(colW, 552, colW + 24, 552, pal::cyan, 0.9f);
    line(colW + 24, 552, 800, 552, pal::cyan, 0.9f);
    line(colW, 108, 446, 108, scaled(pal::cyan, 0.7f), 0.6f);
    line(446, 108, 470, 88, scaled(pal::cyan, 0.7f), 0.6f);
    line(470, 88, 470, 0, scaled(pal::cyan, 0.7f), 0.6f);
    line(640, 560, 780, 560, pal::sodium, 1.2f);
    // Corner brackets on the open picture area, framing the car.
    const float bx0 = 200, by0 = 125, bx1 = 780, by1 = 535, len = 26;
    for (int k = 0; k < 4; k++) {
        float x = (k & 1) ? bx1 : bx0, y = (k & 2) ? by1 : by0;
        float dx = (k & 1) ? -len : len, dy = (k & 2) ? -len : len;
        line(x, y, x + dx, y, scaled(pal::lampWhite, 0.55f), 0.6f);
        line(x, y, x, y + dy, scaled(pal::lampWhite, 0.55f), 0.6f);
    }
    Image glow = lines;
    blurImage(glow, 5.0f);
    for (size_t i = 0; i < img.px.size(); i++) {
        blendOver(img.px[i], withAlpha(glow.px[i], 1.0f), glow.px[i].a * 0.5f);
        blendOver(img.px[i], withAlpha(lines.px[i], 1.0f), lines.px[i].a);
    }
    return img;
}

} // namespace

// ---- logo, 500 x 250 ----

Image paintLogoImage()
{
    const int W = 512, H = 256;
    Image img = makeImage(W, H, rgb(0.1f, 0.2f, 0.5f, 0.0f));
    // Speed streaks behind the words.
    for (int i = 0; i < 14; i++) {
        float y = 75 + hash2(i, 1, 5u) * 110, x0 = 10 + hash2(i, 2, 5u) * 120, len = 80 + hash2(i, 3, 5u) * 200;
        float w = 0.8f + hash2(i, 4, 5u) * 1.6f;
        Color c = i % 3 == 0 ? pal::sodium : pal::cyan;
        fillShape(img, x0 - 4, y - 4, x0 + len + 4, y + 4, [&](float x, float yy) {
            return sdSegment(x, yy, x0, y, x0 + len, y) - w;
        }, [&](float x, float) { return withAlpha(c, 0.55f * clamp01((x - x0) / len)); });
    }
    // The main menu places this 500 x 250 with its foot at y 390, so the top 40 units run off the
    // screen: everything that matters sits in the lower five sixths.
    float s1 = 112, s2 = 48;
    TextMetrics m1 = measureText(FONT_SANS_BOLD_OBLIQUE, s1, "COBALT", -2);
    TextMetrics m2 = measureText(FONT_CONDENSED_BOLD_OBLIQUE, s2, "OVERDRIVE", 10);
    float base1 = 144, base2 = 206;
    Mask top = textMask(W, H, FONT_SANS_BOLD_OBLIQUE, s1, "COBALT", W * 0.5f - m1.width * 0.5f, base1, -2);
    Mask bottom = textMask(W, H, FONT_CONDENSED_BOLD_OBLIQUE, s2, "OVERDRIVE", W * 0.5f - m2.width * 0.5f + 24,
                           base2, 10);
    // Dark outline so the logo reads over the bright garage.
    for (const Mask *m : {&top, &bottom}) {
        Mask o = *m;
        blurMask(o, 4.0f);
        paintMaskColor(img, o, 3, 4, rgb(0.0f, 0.02f, 0.06f, 0.9f), BLEND_OVER, 3.0f);
    }
    Mask glow = top;
    blurMask(glow, 10.0f);
    paintMaskColor(img, glow, 0, 0, withAlpha(pal::cobalt, 0.6f), BLEND_OVER, 1.5f);
    // Chrome: pale sky above the horizon line, deep cobalt below, a bright rim on the line.
    float capTop = base1 - m1.ascent * 0.74f;
    paintMask(img, top, 0, 0, [&](float, float y) {
        float t = (y - capTop) / (base1 - capTop);
        if (t < 0.52f)
            return mix(rgb(0.95f, 0.98f, 1.0f), rgb(0.55f, 0.72f, 1.0f), t / 0.52f);
        if (t < 0.56f)
            return rgb(1, 1, 1);
        return mix(hexColor(0x1a3fb8), hexColor(0x4aa0ff), (t - 0.56f) / 0.44f);
    });
    paintMask(img, bottom, 0, 0, [&](float, float y) {
        float t = clamp01((y - (base2 - 38)) / 38.0f);
        return mix(pal::sodiumPale, pal::sodium, t);
    });
    // Underline swoosh tapering to the right.
    fillShape(img, 60, base2 + 8, 480, base2 + 20, [&](float x, float y) {
        float t = clamp01((x - 70) / 400.0f);
        return std::fabs(y - (base2 + 13 - t * 3)) - (3.0f * (1 - t) + 0.4f);
    }, [&](float x, float) { return withAlpha(mix(pal::sodium, pal::magenta, clamp01((x - 70) / 400)), 0.95f); });
    return img;
}

namespace {

// ---- left-column arrow, 100 x 50, pointing up: a back glow layer and a front layer ----

std::vector<float> arrowShape(float inset)
{
    return {50, 46 - inset, 94 - inset * 1.5f, 10 + inset * 0.6f, 66, 10 + inset * 0.6f, 50, 24 + inset * 0.3f,
            34, 10 + inset * 0.6f, 6 + inset * 1.5f, 10 + inset * 0.6f};
}

Image arrowBack()
{
    UnitFrame f{256, 128, 100, 50};
    Image img = makeImage(f.w, f.h, rgb(0.1f, 0.3f, 0.9f, 0.0f));
    std::vector<float> p = arrowShape(0);
    fillUnits(img, f, [&](float u, float v) { return sdPolygon(u, v, p) - 2.5f; },
              [](float, float) { return rgb(0.12f, 0.35f, 1.0f, 0.85f); });
    blurImage(img, 7.0f);
    return img;
}

Image arrowFront()
{
    UnitFrame f{256, 128, 100, 50};
    Image img = makeImage(f.w, f.h, rgb(0.8f, 0.9f, 1.0f, 0.0f));
    std::vector<float> p = arrowShape(0);
    std::vector<float> inner = arrowShape(3.5f);
    fillUnits(img, f, [&](float u, float v) { return sdPolygon(u, v, p); },
              [](float, float) { return rgb(0.85f, 0.93f, 1.0f, 1.0f); });
    fillUnits(img, f, [&](float u, float v) { return sdPolygon(u, v, inner); },
              [&](float, float v) { return mix(hexColor(0x0c2a78, 0.92f), hexColor(0x2c78e8, 0.92f), v / 46.0f); });
    return img;
}

// ---- select bar, 160 x 40: light so the game's blue tint shows; see-through behind the text ----

Image selectBar()
{
    UnitFrame f{256, 64, 160, 40};
    Image img = makeImage(f.w, f.h, rgb(1, 1, 1, 0));
    fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, 80, 20, 78, 17, 5); },
              [](float u, float) { return rgb(0.85f, 0.9f, 1.0f, 0.22f - 0.1f * u / 160.0f); });
    fillUnits(img, f, [&](float u, float v) { return std::fabs(sdBox(u, v, 80, 20, 78, 17, 5)) - 0.8f; },
              [](float, float) { return rgb(1, 1, 1, 0.85f); });
    // Solid end caps like brackets.
    for (int side = 0; side < 2; side++) {
        float x = side ? 150 : 10;
        fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, x, 20, 3, 12, 1.5f); },
                  [](float, float) { return rgb(1, 1, 1, 1); });
    }
    return img;
}

// ---- mouse cursor, 20 x 20 with the tip at the top left ----

Image cursor()
{
    UnitFrame f{64, 64, 20, 20};
    Image img = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    std::vector<float> p = {0.6f, 19.4f, 0.6f, 4.5f, 4.4f, 8.0f, 7.2f, 2.4f, 9.6f, 3.6f, 6.9f, 9.2f, 12.2f, 9.2f};
    fillUnits(img, f, [&](float u, float v) { return sdPolygon(u, v, p) - 0.7f; },
              [](float, float) { return rgb(0.0f, 0.02f, 0.08f, 0.9f); });
    fillUnits(img, f, [&](float u, float v) { return sdPolygon(u, v, p); },
              [](float u, float v) { return mix(rgb(1, 1, 1), pal::cyan, clamp01((20 - v + u) / 22.0f)); });
    return img;
}

// ---- map markers, 20 x 20 ----

Image marker(bool podium)
{
    UnitFrame f{64, 64, 20, 20};
    Image img = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    Color ring = podium ? hexColor(0xffc830) : pal::cyan;
    fillUnits(img, f, [&](float u, float v) { return sdCircle(u, v, 10, 10, 9.3f); },
              [](float, float) { return rgb(0.0f, 0.02f, 0.08f, 0.75f); });
    fillUnits(img, f, [&](float u, float v) { return std::fabs(sdCircle(u, v, 10, 10, 8.0f)) - 1.1f; },
              [&](float, float) { return ring; });
    if (podium) {
        // Five-pointed star.
        std::vector<float> star;
        for (int k = 0; k < 10; k++) {
            float a = PI * 0.5f + k * PI / 5, r = (k & 1) ? 2.4f : 5.6f;
            star.push_back(10 + std::cos(a) * r);
            star.push_back(9.6f + std::sin(a) * r);
        }
        fillUnits(img, f, [&](float u, float v) { return sdPolygon(u, v, star); },
                  [](float, float v) { return mix(hexColor(0xfff2b0), hexColor(0xffb020), clamp01((15 - v) / 10)); });
    } else {
        fillUnits(img, f, [&](float u, float v) { return sdCircle(u, v, 10, 10, 3.2f); },
                  [](float, float) { return rgb(1, 1, 1); });
    }
    return img;
}

// ---- tuning packet button (100 x 100) and its two overlays ----

Image packet()
{
    UnitFrame f{128, 128, 100, 100};
    Image img = makeImage(f.w, f.h, rgb(0.8f, 0.85f, 0.9f, 0.0f));
    fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, 50, 50, 46, 46, 12) - 2.0f; },
              [](float, float) { return rgb(0.0f, 0.02f, 0.06f, 0.6f); });
    fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, 50, 50, 44, 44, 11); },
              [](float, float v) { return mix(rgb(0.16f, 0.2f, 0.3f, 0.92f), rgb(0.42f, 0.48f, 0.6f, 0.92f), v / 100); });
    fillUnits(img, f, [&](float u, float v) { return std::fabs(sdBox(u, v, 50, 50, 44, 44, 11)) - 1.2f; },
              [](float, float v) { return mix(rgb(0.6f, 0.7f, 0.85f), rgb(1, 1, 1), v / 100); });
    // Turbine: a ring of curved blades round a hub.
    fillUnits(img, f, [&](float u, float v) { return std::fabs(sdCircle(u, v, 50, 52, 27)) - 2.2f; },
              [](float, float) { return rgb(0.95f, 0.97f, 1.0f); });
    for (int k = 0; k < 9; k++) {
        float a = k * 2 * PI / 9;
        float ax = 50 + std::cos(a) * 8, ay = 52 + std::sin(a) * 8;
        float bx = 50 + std::cos(a + 0.7f) * 23, by = 52 + std::sin(a + 0.7f) * 23;
        fillUnits(img, f, [&](float u, float v) { return sdSegment(u, v, ax, ay, bx, by) - 2.2f; },
                  [](float, float) { return rgb(0.88f, 0.92f, 1.0f); });
    }
    fillUnits(img, f, [&](float u, float v) { return sdCircle(u, v, 50, 52, 6.5f); },
              [](float, float) { return rgb(1, 1, 1); });
    fillUnits(img, f, [&](float u, float v) { return sdCircle(u, v, 50, 52, 2.5f); },
              [](float, float) { return rgb(0.3f, 0.35f, 0.45f); });
    // Gloss across the upper half.
    fillUnits(img, f, [&](float u, float v) { return std::max(sdBox(u, v, 50, 50, 44, 44, 11), 62 - v + (u - 50) * 0.25f); },
              [](float, float) { return rgb(1, 1, 1, 0.12f); });
    return img;
}

Image packetLocked()
{
    UnitFrame f{64, 64, 40, 40};
    Image img = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    fillUnits(img, f, [&](float u, float v) { return sdCircle(u, v, 20, 20, 18); },
              [](float, float) { return rgb(0.05f, 0.02f, 0.04f, 0.85f); });
    fillUnits(img, f, [&](float u, float v) { return std::fabs(sdCircle(u, v, 20, 20, 17)) - 1.0f; },
              [](float, float) { return rgb(1.0f, 0.3f, 0.25f); });
    // Padlock: shackle and body.
    fillUnits(img, f, [&](float u, float v) {
        float ring = std::fabs(sdCircle(u, v, 20, 22, 6)) - 1.7f;
        return std::max(ring, 22 - v);
    }, [](float, float) { return rgb(0.9f, 0.92f, 0.95f); });
    fillUnits(img, f, [&](float u, float v) { return sdSegment(u, v, 14, 22, 14, 18) - 1.7f; },
              [](float, float) { return rgb(0.9f, 0.92f, 0.95f); });
    fillUnits(img, f, [&](float u, float v) { return sdSegment(u, v, 26, 22, 26, 18) - 1.7f; },
              [](float, float) { return rgb(0.9f, 0.92f, 0.95f); });
    fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, 20, 13, 10, 7, 2); },
              [](float, float v) { return mix(hexColor(0xff6a40), hexColor(0xffc060), v / 20); });
    fillUnits(img, f, [&](float u, float v) { return std::min(sdCircle(u, v, 20, 14.5f, 2), sdBox(u, v, 20, 11, 0.8f, 3)); },
              [](float, float) { return rgb(0.2f, 0.05f, 0.03f); });
    return img;
}

Image packetBought()
{
    UnitFrame f{64, 64, 40, 40};
    Image img = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    fillUnits(img, f, [&](float u, float v) { return sdCircle(u, v, 20, 20, 18); },
              [](float, float v) { return mix(hexColor(0x0a7a3a, 0.95f), hexColor(0x30d070, 0.95f), v / 40); });
    fillUnits(img, f, [&](float u, float v) { return std::fabs(sdCircle(u, v, 20, 20, 17)) - 1.0f; },
              [](float, float) { return rgb(0.85f, 1.0f, 0.9f); });
    fillUnits(img, f, [&](float u, float v) {
        return std::min(sdSegment(u, v, 11, 21, 17.5f, 13.5f), sdSegment(u, v, 17.5f, 13.5f, 29.5f, 28)) - 2.6f;
    }, [](float, float) { return rgb(1, 1, 1); });
    return img;
}

// ---- value bar: frame 250 x 7 and a fill whose s runs along the whole bar ----

Image barFrame()
{
    UnitFrame f{256, 16, 250, 7};
    Image img = makeImage(f.w, f.h, rgb(0.6f, 0.8f, 1.0f, 0.0f));
    fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, 125, 3.5f, 124.5f, 3.3f, 1.5f); },
              [](float, float) { return rgb(0.02f, 0.04f, 0.1f, 0.55f); });
    fillUnits(img, f, [&](float u, float v) { return std::fabs(sdBox(u, v, 125, 3.5f, 124.0f, 3.0f, 1.5f)) - 0.35f; },
              [](float, float) { return rgb(0.75f, 0.88f, 1.0f, 0.95f); });
    // Quarter marks.
    for (int k = 1; k < 4; k++) {
        float x = 250 * k / 4.0f;
        fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, x, 3.5f, 0.5f, 3.0f); },
                  [](float, float) { return rgb(0.75f, 0.88f, 1.0f, 0.6f); });
    }
    return img;
}

Image barFill()
{
    const int W = 256, H = 16;
    Ramp ramp{{{0.0f, hexColor(0x1a3cc8)}, {0.55f, hexColor(0x2ab8ff)}, {0.85f, hexColor(0xa0f0ff)},
               {1.0f, hexColor(0xffb050)}}};
    Image img = makeImage(W, H, rgb(0, 0, 0));
    shadeAll(img, [&](float x, float y, Color) {
        Color c = ramp.at(x / W);
        float gloss = y < H * 0.45f ? 0.25f : 0.0f;
        float edge = 1.0f - 0.35f * std::fabs(y / H - 0.5f) * 2;
        return mix(scaled(c, edge), rgb(1, 1, 1), gloss);
    });
    return img;
}

// ---- options plate, 467 x 500 at (200, 50): rows at the option lines of the screen ----

Image optionsPlate()
{
    UnitFrame f{512, 512, 467, 500};
    const float ox = 200, oy = 50; // the plate's lower left on the screen
    Image img = makeImage(f.w, f.h, rgb(0.02f, 0.04f, 0.1f, 0.0f));
    // The plate stops above the notice the screen prints at y 45..70 after Accept.
    fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, 233.5f, 293.5f, 225, 198.5f, 14); },
              [](float, float v) { return rgb(0.02f, 0.04f, 0.1f, lerp(0.55f, 0.72f, v / 500)); });
    fillUnits(img, f, [&](float u, float v) { return std::fabs(sdBox(u, v, 233.5f, 293.5f, 225, 198.5f, 14)) - 0.8f; },
              [](float, float) { return withAlpha(pal::cyan, 0.8f); });
    // One strip per option row, where the click areas are (x 291..609, row y - 9 .. y + 19).
    const float rows[] = {450, 400, 350, 250, 200};
    for (float y : rows) {
        float cy = y + 5 - oy, cx = 450 - ox;
        fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, cx, cy, 159, 14, 4); },
                  [&](float u, float) { return rgb(0.15f, 0.3f, 0.7f, lerp(0.35f, 0.15f, (u - 91) / 318)); });
        fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, cx - 159 + 2, cy, 2, 12, 1); },
                  [&](float, float) { return pal::sodium; });
        // Divider between label and value columns.
        fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, 495 - ox, cy, 0.6f, 9); },
                  [&](float, float) { return withAlpha(pal::cyan, 0.5f); });
    }
    // Section headings with icons at the left margin.
    auto heading = [&](const char *text, float y) {
        Mask m = textMask(f.w, f.h, FONT_SANS_BOLD_OBLIQUE, 15 * f.sy(), text, f.px(300 - ox), f.py(y - oy), 3);
        paintMaskColor(img, m, 0, 0, pal::sodiumPale);
        fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, 430 - ox + 90, y - oy + 6, 80, 0.6f); },
                  [&](float, float) { return withAlpha(pal::sodium, 0.7f); });
    };
    heading("DISPLAY", 492);
    heading("AUDIO", 292);
    // Monitor icon by the display rows.
    float mx = 250 - ox, my = 400 - oy;
    fillUnits(img, f, [&](float u, float v) { return std::fabs(sdBox(u, v, mx, my + 6, 22, 15, 2)) - 1.6f; },
              [&](float, float) { return pal::lampWhite; });
    fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, mx, my - 14, 9, 1.6f, 1); },
              [&](float, float) { return pal::lampWhite; });
    fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, mx, my - 10, 2, 4); },
              [&](float, float) { return pal::lampWhite; });
    fillUnits(img, f, [&](float u, float v) { return sdBox(u, v, mx, my + 6, 18, 11, 1); },
              [&](float, float v) { return mix(hexColor(0x102a70), hexColor(0x38a8ff), (v - my + 5) / 22); });
    // Speaker icon by the audio rows.
    float sx = 250 - ox, sy = 225 - oy;
    std::vector<float> cone = {sx - 16, sy - 6, sx - 8, sy - 6, sx + 2, sy - 14, sx + 2, sy + 14, sx - 8, sy + 6,
                               sx - 16, sy + 6};
    fillUnits(img, f, [&](float u, float v) { return sdPolygon(u, v, cone); },
              [&](float, float) { return pal::lampWhite; });
    for (int k = 0; k < 2; k++) {
        float r = 10.0f + k * 7;
        fillUnits(img, f, [&](float u, float v) {
            float arc = std::fabs(sdCircle(u, v, sx + 2, sy, r)) - 1.4f;
            return std::max(arc, -(u - sx - 2) + std::fabs(v - sy) * 0.9f);
        }, [&](float, float) { return pal::cyan; });
    }
    return img;
}

} // namespace

bool paintRaceMaps(); // maps.cpp

bool paintMenus()
{
    bool ok = saveSetTga(TGA_MENU_PANEL, panel(), true, "menu panel");
    ok = saveSetTga(TGA_MENU_LOGO, paintLogoImage(), true, "main menu logo") && ok;
    ok = saveSetTga(TGA_MENU_ARROW_BACK, arrowBack(), true, "menu arrow back layer") && ok;
    ok = saveSetTga(TGA_MENU_ARROW_FRONT, arrowFront(), true, "menu arrow front layer") && ok;
    ok = saveSetTga(TGA_MENU_SELECT_BAR, selectBar(), true, "select bar") && ok;
    ok = saveSetTga(TGA_MENU_CURSOR, cursor(), true, "mouse cursor") && ok;
    ok = saveSetTga(TGA_MENU_MARKER_PODIUM, marker(true), true, "map marker podium") && ok;
    ok = saveSetTga(TGA_MENU_MARKER_PLAIN, marker(false), true, "map marker plain") && ok;
    ok = saveSetTga(TGA_MENU_PACKET, packet(), true, "tuning packet") && ok;
    ok = saveSetTga(TGA_MENU_PACKET_LOCKED, packetLocked(), true, "packet locked overlay") && ok;
    ok = saveSetTga(TGA_MENU_PACKET_BOUGHT, packetBought(), true, "packet bought overlay") && ok;
    ok = saveSetTga(TGA_MENU_BAR_FRAME, barFrame(), true, "value bar frame") && ok;
    ok = saveSetTga(TGA_MENU_BAR_FILL, barFill(), true, "value bar fill") && ok;
    ok = saveSetTga(TGA_MENU_OPTIONS, optionsPlate(), true, "options picture") && ok;
    ok = paintRaceMaps() && ok;
    return ok;
}
