// The race HUD. The game composes the dial, needle and top band in two passes: the mask
// multiplies the picture (white keeps it, black blanks it) and the light is added on top, so
// each element is a matching pair painted from the same shapes. The arrow is light on black and
// takes its colour from the game; the nitro gauge is alpha-blended.
#include "gen2d.h"

namespace {

const float PI = 3.14159265f;

// ---- rev dial: 200 x 200 units, centre (100, 100); the needle turns about that centre ----

const float dialR = 90.0f;
float rpmAngle(float rpm) { return (242.5f - (rpm - 1000.0f) * 0.035f) * PI / 180.0f; }

void paintDial(Image &mask, Image &light)
{
    UnitFrame f{512, 512, 200, 200};
    const float cx = 100, cy = 100;
    mask = makeImage(f.w, f.h, rgb(1, 1, 1));
    light = makeImage(f.w, f.h, rgb(0, 0, 0));
    auto disc = [&](float u, float v) { return sdCircle(u, v, cx, cy, dialR); };
    // Speed read-out plate in the quarter the needle never visits (the game prints km/h there).
    auto plate = [&](float u, float v) { return sdBox(u, v, cx + 56, cy - 60, 34, 30, 6); };
    auto body = [&](float u, float v) { return std::min(disc(u, v), plate(u, v)); };
    fillUnits(mask, f, body, [](float, float) { return rgb(0.28f, 0.30f, 0.36f); });
    fillUnits(mask, f, plate, [](float, float) { return rgb(0.16f, 0.17f, 0.2f); });

    // Everything that glows is drawn into one mask first so the mask pass can blank it.
    Mask lit = makeMask(f.w, f.h);
    auto addLit = [&](const Mask &m) {
        for (size_t i = 0; i < lit.v.size(); i++)
            lit.v[i] = std::max(lit.v[i], m.v[i]);
    };
    Image paint = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    auto drawLitBox = [&](float u0, float v0, float u1, float v1, auto sdf, auto colour) {
        Mask m = unitsMaskBox(f, u0, v0, u1, v1, sdf);
        addLit(m);
        paintMask(paint, m, 0, 0, [&](float x, float y) { return colour(f.u(x), f.v(y)); });
    };
    auto drawLit = [&](auto sdf, auto colour) { drawLitBox(0, 0, 200, 200, sdf, colour); };
    // Outer rim: cobalt ring, brighter where the revs are high.
    drawLit([&](float u, float v) { return std::fabs(body(u, v) + 1.5f) - 1.6f; },
            [&](float u, float v) {
                float a = std::atan2(v - cy, u - cx);
                return mix(pal::cobalt, pal::cyan, 0.5f + 0.5f * std::sin(a));
            });
    // Red zone from 6500 rpm to the stop.
    float a0 = rpmAngle(8000), a1 = rpmAngle(6500);
    drawLit([&](float u, float v) {
        float a = std::atan2(v - cy, u - cx);
        float r = std::hypot(u - cx, v - cy);
        float band = std::fabs(r - (dialR - 9)) - 4.0f;
        float ang = std::max(a0 - a, a - a1) * r;
        return std::max(band, ang);
    }, [](float, float) { return rgb(1.0f, 0.12f, 0.1f); });
    // Ticks every 500 rpm, long ones every 1000.
    for (int rpm = 1000; rpm <= 8000; rpm += 500) {
        float a = rpmAngle(float(rpm));
        bool major = rpm % 1000 == 0;
        float r0 = dialR - (major ? 17 : 11), r1 = dialR - 4;
        float ax = cx + std::cos(a) * r0, ay = cy + std::sin(a) * r0;
        float bx = cx + std::cos(a) * r1, by = cy + std::sin(a) * r1;
        Color c = rpm >= 6500 ? rgb(1, 0.85f, 0.8f) : rgb(0.92f, 0.96f, 1);
        drawLitBox(std::min(ax, bx) - 3, std::min(ay, by) - 3, std::max(ax, bx) + 3, std::max(ay, by) + 3,
                   [&](float u, float v) { return sdSegment(u, v, ax, ay, bx, by) - (major ? 1.5f : 0.8f); },
                   [&](float, float) { return c; });
    }
    // Numerals 1..8 inside the ticks.
    for (int n = 1; n <= 8; n++) {
        float a = rpmAngle(n * 1000.0f);
        float nx = cx + std::cos(a) * (dialR - 30), ny = cy + std::sin(a) * (dialR - 30);
        std::string s(1, char('0' + n));
        Mask m = textMaskCentred(f.w, f.h, FONT_SANS_BOLD_OBLIQUE, 15 * f.sy(), s, f.px(nx), f.py(ny) + 5.5f * f.sy());
        addLit(m);
        paintMaskColor(paint, m, 0, 0, n >= 7 ? rgb(1, 0.35f, 0.3f) : rgb(0.85f, 0.93f, 1));
    }
    {
        Mask m = textMaskCentred(f.w, f.h, FONT_SANS_BOLD, 6.5f * f.sy(), "RPM x1000", f.px(cx), f.py(cy - 26), 1.0f);
        addLit(m);
        paintMaskColor(paint, m, 0, 0, scaled(pal::cyan, 0.75f));
    }
    // Hub of the needle.
    drawLitBox(cx - 11, cy - 11, cx + 11, cy + 11, [&](float u, float v) { return sdCircle(u, v, cx, cy, 9); }, [&](float u, float v) {
        float k = clamp01(0.5f + (v - cy) / 18.0f + (cx - u) / 30.0f);
        return mix(hexColor(0x202838), hexColor(0x9aa8c0), k);
    });

    // Light: soft glow under the lit parts, then the parts themselves.
    Image glow = paint;
    blurImage(glow, 6.0f);
    for (size_t i = 0; i < light.px.size(); i++) {
        Color &d = light.px[i];
        blendAdd(d, glow.px[i], 0.6f);
        blendAdd(d, paint.px[i], 1.0f);
        // Faint radial sheen on the glass.
    }
    fillUnits(light, f, disc, [&](float u, float v) {
        float r = std::hypot(u - cx, v - cy) / dialR;
        return rgb(0.02f, 0.05f, 0.12f, 0.5f * r * r);
    }, BLEND_ADD);
    // Mask: blank wherever something glows so the light keeps its own colour.
    for (size_t i = 0; i < mask.px.size(); i++)
        mask.px[i] = scaled(mask.px[i], 1.0f - lit.v[i]);
}

// ---- needle: quad (-11, -6)..(11, 104) turned about (0, 0) ----

void paintNeedle(Image &mask, Image &light)
{
    UnitFrame f{64, 256, 22, 110};
    const float px0 = 11, py0 = 6; // pivot in quad units
    mask = makeImage(f.w, f.h, rgb(1, 1, 1));
    light = makeImage(f.w, f.h, rgb(0, 0, 0));
    auto needle = [&](float u, float v) {
        // Tapered blade from the pivot to r = 82, short counterweight below the pivot.
        std::vector<float> blade = {px0 - 3.2f, py0 - 4.0f, px0 + 3.2f, py0 - 4.0f, px0 + 1.0f, py0 + 82.0f,
                                    px0 - 1.0f, py0 + 82.0f};
        return std::min(sdPolygon(u, v, blade), sdCircle(u, v, px0, py0, 5.0f));
    };
    fillUnits(mask, f, needle, [](float, float) { return rgb(0, 0, 0); });
    Image paint = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    fillUnits(paint, f, needle, [&](float u, float v) {
        float t = clamp01((v - py0) / 80.0f);
        float core = 1.0f - clamp01(std::fabs(u - px0) / 1.4f);
        Color c = mix(rgb(1.0f, 0.25f, 0.08f), rgb(1.0f, 0.55f, 0.2f), t);
        return mix(c, rgb(1, 0.95f, 0.85f), core * 0.7f);
    });
    Image glow = paint;
    blurImage(glow, 4.0f);
    for (size_t i = 0; i < light.px.size(); i++) {
        blendAdd(light.px[i], glow.px[i], 0.7f);
        blendAdd(light.px[i], paint.px[i], 1.0f);
    }
    // Cap over the pivot, dark metal with a ring.
    fillUnits(light, f, [&](float u, float v) { return sdCircle(u, v, px0, py0, 4.0f); },
              [](float, float) { return hexColor(0x1a1f2a); });
    fillUnits(light, f, [&](float u, float v) { return std::fabs(sdCircle(u, v, px0, py0, 3.6f)) - 0.5f; },
              [](float, float) { return hexColor(0x8090b0); });
    // Light must be black at the border: the game clamps and would smear edge pixels.
    for (int y = 0; y < f.h; y++)
        for (int x = 0; x < f.w; x++)
            if (x == 0 || y == 0 || x == f.w - 1 || y == f.h - 1)
                light.at(x, y) = rgb(0, 0, 0);
}

// ---- top band: quad (0, 474)..(800, 602); lap counter left, place right, arrow bezel centre ----

void paintBand(Image &mask, Image &light)
{
    UnitFrame f{1024, 256, 800, 128};
    const float base = 474;
    mask = makeImage(f.w, f.h, rgb(1, 1, 1));
    light = makeImage(f.w, f.h, rgb(0, 0, 0));
    auto V = [&](float screenY) { return screenY - base; };
    // Left plate under "Lap  n/ 4", right plate under "Place n/ 4": slanted outer-facing ends.
    std::vector<float> left = {-10, V(603), 250, V(603), 222, V(554), -10, V(554)};
    std::vector<float> right = {550, V(603), 810, V(603), 810, V(554), 578, V(554)};
    auto strip = [&](float u, float v) { return sdBox(u, v, 400, V(597), 420, 6); };
    auto bezel = [&](float u, float v) { return sdCircle(u, v, 400, V(542), 57); };
    auto neck = [&](float u, float v) { return sdBox(u, v, 400, V(585), 70, 14, 8); };
    auto plates = [&](float u, float v) {
        float d = std::min(sdPolygon(u, v, left), sdPolygon(u, v, right));
        d = std::min(d, strip(u, v));
        return std::min(d, std::min(bezel(u, v), neck(u, v)));
    };
    fillUnits(mask, f, plates, [](float, float) { return rgb(0.25f, 0.27f, 0.33f); });
    // The bend arrow is drawn before the band, so the band's mask also multiplies it: keep the
    // bezel's inside light enough that the arrow stays bright.
    fillUnits(mask, f, bezel, [](float, float) { return rgb(0.78f, 0.8f, 0.86f); });

    Image paint = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    Mask lit = makeMask(f.w, f.h);
    auto drawLitBox = [&](float u0, float v0, float u1, float v1, auto sdf, Color c) {
        Mask m = unitsMaskBox(f, u0, v0, u1, v1, sdf);
        for (size_t i = 0; i < lit.v.size(); i++)
            lit.v[i] = std::max(lit.v[i], m.v[i]);
        paintMaskColor(paint, m, 0, 0, c);
    };
    auto drawLit = [&](auto sdf, Color c) { drawLitBox(-10, -10, 810, 140, sdf, c); };
    // Neon edges along the lower outline of the plates.
    drawLit([&](float u, float v) { return std::fabs(plates(u, v) + 1.2f) - 0.9f; }, scaled(pal::cyan, 0.85f));
    drawLit([&](float u, float v) { return std::fabs(bezel(u, v) + 5.0f) - 0.7f; }, scaled(pal::cobalt, 1.3f));
    // Sodium chevrons at the plates' inner tips, pointing to the centre.
    for (int side = -1; side <= 1; side += 2)
        for (int k = 0; k < 3; k++) {
            float tipX = side < 0 ? 258 + k * 12.0f : 542 - k * 12.0f;
            float dir = side < 0 ? 1.0f : -1.0f;
            drawLitBox(tipX - 8, V(580), tipX + 8, V(600), [&](float u, float v) {
                float y = V(590);
                float a = sdSegment(u, v, tipX - dir * 4, y + 6, tipX + dir * 2, y);
                float b = sdSegment(u, v, tipX + dir * 2, y, tipX - dir * 4, y - 6);
                return std::min(a, b) - 1.2f;
            }, scaled(pal::sodium, 1.0f - k * 0.25f));
        }
    // Tick marks round the bezel, as on a compass ring.
    for (int k = -6; k <= 6; k++) {
        float a = (90 + k * 15) * PI / 180.0f;
        float r0 = k % 3 == 0 ? 46.0f : 49.0f;
        float ax = 400 + std::cos(a) * r0, ay = V(542) + std::sin(a) * r0;
        float bx = 400 + std::cos(a) * 53, by = V(542) + std::sin(a) * 53;
        drawLitBox(std::min(ax, bx) - 3, std::min(ay, by) - 3, std::max(ax, bx) + 3, std::max(ay, by) + 3,
                   [&](float u, float v) { return sdSegment(u, v, ax, ay, bx, by) - 0.7f; },
                   k == 0 ? pal::sodium : scaled(pal::lampWhite, 0.6f));
    }
    Image glow = paint;
    blurImage(glow, 5.0f);
    for (size_t i = 0; i < light.px.size(); i++) {
        blendAdd(light.px[i], glow.px[i], 0.7f);
        blendAdd(light.px[i], paint.px[i], 1.0f);
    }
    for (size_t i = 0; i < mask.px.size(); i++)
        mask.px[i] = scaled(mask.px[i], 1.0f - lit.v[i]);
}

// ---- bend arrow: white double chevron on black, pointing up ----

Image bendArrow()
{
    const int n = 256;
    UnitFrame f{n, n, 90, 90};
    Image paint = makeImage(n, n, rgb(0, 0, 0, 0));
    auto chevron = [&](float u, float v, float tipY, float half, float depth, float thick) {
        std::vector<float> p = {45, tipY, 45 + half, tipY - depth, 45 + half, tipY - depth - thick, 45,
                                tipY - thick, 45 - half, tipY - depth - thick, 45 - half, tipY - depth};
        return sdPolygon(u, v, p) - 1.5f;
    };
    fillUnits(paint, f, [&](float u, float v) { return chevron(u, v, 80, 30, 24, 11); },
              [](float, float v) { return mix(rgb(0.75f, 0.75f, 0.75f), rgb(1, 1, 1), clamp01((v - 40) / 40)); });
    fillUnits(paint, f, [&](float u, float v) { return chevron(u, v, 52, 24, 19, 9); },
              [](float, float) { return rgb(0.55f, 0.55f, 0.55f); });
    fillUnits(paint, f, [&](float u, float v) { return chevron(u, v, 29, 18, 14, 7); },
              [](float, float) { return rgb(0.32f, 0.32f, 0.32f); });
    Image out = makeImage(n, n, rgb(0, 0, 0));
    Image glow = paint;
    blurImage(glow, 8.0f);
    for (size_t i = 0; i < out.px.size(); i++) {
        blendAdd(out.px[i], glow.px[i], 0.8f);
        blendAdd(out.px[i], paint.px[i], 1.0f);
    }
    shadeAll(out, [&](float x, float y, Color c) {
        float e = clamp01(std::min(std::min(x, n - x), std::min(y, n - y)) / 10.0f);
        return rgb(clamp01(c.r) * e, clamp01(c.g) * e, clamp01(c.b) * e);
    });
    return out;
}

// ---- nitro gauge: an arc of sixteen cells bowing to the left, 200 x 200 units ----

const float arcCx = 190, arcCy = 100, arcR0 = 112, arcR1 = 132;
const int arcCells = 16;
const float arcSpan = 50.0f * PI / 180.0f; // half the angle either side of straight left

// Cell index at a point inside the band, or -1 (the gaps between cells too).
float arcCellSdf(float u, float v, int *cellOut)
{
    float r = std::hypot(u - arcCx, v - arcCy);
    float a = std::atan2(v - arcCy, u - arcCx); // around pi for the left side
    float t = (PI + arcSpan - (a < 0 ? a + 2 * PI : a)) / (2 * arcSpan); // 0 at bottom, 1 at top
    t = 1.0f - t;
    float band = std::fabs(r - (arcR0 + arcR1) * 0.5f) - (arcR1 - arcR0) * 0.5f;
    float cellPos = t * arcCells;
    int cell = int(std::floor(cellPos));
    float inCell = cellPos - cell;
    float gap = (0.5f - std::fabs(inCell - 0.5f)) * (2 * arcSpan / arcCells) * r - 1.2f;
    if (cellOut)
        *cellOut = cell;
    float ends = std::max(-t, t - 1.0f) * 2 * arcSpan * r;
    return std::max(std::max(band, -gap), ends);
}

Image nitroFill()
{
    UnitFrame f{256, 256, 200, 200};
    Image img = makeImage(f.w, f.h, rgb(0.2f, 0.5f, 1.0f, 0.0f));
    Ramp heat{{{0.0f, hexColor(0x1436c8)}, {0.45f, hexColor(0x22a8ff)}, {0.8f, hexColor(0x7ff0ff)},
               {1.0f, hexColor(0xf0d0ff)}}};
    fillUnits(img, f, [&](float u, float v) { return arcCellSdf(u, v, nullptr); }, [&](float u, float v) {
        float t = clamp01(v / 200.0f);
        float r = std::hypot(u - arcCx, v - arcCy);
        float inner = 1.0f - std::fabs(r - (arcR0 + arcR1) * 0.5f) / ((arcR1 - arcR0) * 0.5f);
        return mix(heat.at(t), rgb(1, 1, 1), 0.35f * inner * inner);
    });
    return img;
}

Image nitroFrame()
{
    UnitFrame f{256, 256, 200, 200};
    Image img = makeImage(f.w, f.h, rgb(0.1f, 0.14f, 0.25f, 0.0f));
    auto band = [&](float u, float v) {
        float r = std::hypot(u - arcCx, v - arcCy);
        float a = std::atan2(v - arcCy, u - arcCx);
        float aa = std::fabs((a < 0 ? a + 2 * PI : a) - PI) - arcSpan;
        return std::max(std::fabs(r - (arcR0 + arcR1) * 0.5f) - (arcR1 - arcR0) * 0.5f - 3.0f, aa * r - 3.0f);
    };
    // Dark housing round the cells, glass tint over them, cyan outline.
    fillUnits(img, f, band, [](float, float) { return rgb(0.03f, 0.05f, 0.1f, 0.85f); });
    Image cells = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    fillUnits(cells, f, [&](float u, float v) { return arcCellSdf(u, v, nullptr); },
              [](float, float) { return rgb(1, 1, 1); });
    for (size_t i = 0; i < img.px.size(); i++) {
        float c = cells.px[i].a;
        if (c > 0) {
            Color &d = img.px[i];
            // Cells become see-through glass with a faint cold tint.
            d.a = lerp(d.a, 0.12f, c);
            d.r = lerp(d.r, 0.6f, c);
            d.g = lerp(d.g, 0.8f, c);
            d.b = lerp(d.b, 1.0f, c);
        }
    }
    fillUnits(img, f, [&](float u, float v) { return std::fabs(band(u, v)) - 0.9f; },
              [](float, float) { return mix(pal::cyan, pal::cobalt, 0.4f); });
    // Label at the foot of the arc.
    Mask label = textMask(f.w, f.h, FONT_SANS_BOLD_OBLIQUE, 17 * f.sy(), "N2O", f.px(96), f.py(94));
    Mask shadow = label;
    blurMask(shadow, 3.0f);
    paintMaskColor(img, shadow, 2, 2, rgb(0, 0, 0, 0.8f), BLEND_OVER, 2.0f);
    paintMask(img, label, 0, 0, [&](float, float y) {
        return mix(rgb(1, 1, 1), pal::cyan, clamp01((y - f.py(28)) / (f.py(14) - f.py(28))));
    });
    // "F" and "E" marks at the ends of the arc.
    float ta = PI - arcSpan, tb = PI + arcSpan;
    float fx = arcCx + std::cos(ta) * (arcR0 - 12), fy = arcCy + std::sin(ta) * (arcR0 - 12);
    float ex = arcCx + std::cos(tb) * (arcR0 - 12), ey = arcCy + std::sin(tb) * (arcR0 - 12);
    paintMaskColor(img, textMaskCentred(f.w, f.h, FONT_SANS_BOLD, 11 * f.sy(), "F", f.px(fx), f.py(fy - 4)), 0, 0,
                   scaled(pal::cyan, 1.0f));
    paintMaskColor(img, textMaskCentred(f.w, f.h, FONT_SANS_BOLD, 11 * f.sy(), "E", f.px(ex), f.py(ey - 4)), 0, 0,
                   rgb(0.7f, 0.75f, 0.85f));
    return img;
}

} // namespace

bool paintHud()
{
    Image mask, light;
    paintDial(mask, light);
    bool ok = saveSetBmp(TEX_HUD_DIAL_MASK, mask, "rev dial mask");
    ok = saveSetBmp(TEX_HUD_DIAL_LIGHT, light, "rev dial light") && ok;
    paintNeedle(mask, light);
    ok = saveSetBmp(TEX_HUD_NEEDLE_MASK, mask, "rev needle mask") && ok;
    ok = saveSetBmp(TEX_HUD_NEEDLE_LIGHT, light, "rev needle light") && ok;
    paintBand(mask, light);
    ok = saveSetBmp(TEX_HUD_BAND_MASK, mask, "top band mask") && ok;
    ok = saveSetBmp(TEX_HUD_BAND_LIGHT, light, "top band light") && ok;
    ok = saveSetBmp(TEX_HUD_BEND_ARROW, bendArrow(), "bend arrow") && ok;
    ok = saveSetTga(TGA_HUD_NITRO_FILL, nitroFill(), true, "nitro gauge fill") && ok;
    ok = saveSetTga(TGA_HUD_NITRO_FRAME, nitroFrame(), true, "nitro gauge frame") && ok;
    return ok;
}
