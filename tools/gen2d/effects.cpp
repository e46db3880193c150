// Light and particle sprites: lamp glow, checkpoint beacon, smoke/dust puff, exhaust flame and
// the start countdown. The additive ones are light on black and fade to black well inside the
// edge, because the game clamps them and any light left on the border would show as a square.
#include "gen2d.h"

namespace {

// Radial coordinate 0 at the centre, 1 at the inscribed circle.
float radius01(float x, float y, int size) { return std::hypot(x - size * 0.5f, y - size * 0.5f) / (size * 0.5f); }

Image lampGlow()
{
    const int n = 256;
    Image img = makeImage(n, n, rgb(0, 0, 0));
    shadeAll(img, [&](float x, float y, Color) {
        float r = radius01(x, y, n);
        float core = std::exp(-r * r * 60.0f);
        float halo = std::exp(-r * r * 7.0f) * 0.55f;
        float wide = std::exp(-r * 3.2f) * 0.25f;
        // A faint four-point star, as lamp light scatters in a windscreen.
        float ang = std::atan2(y - n * 0.5f, x - n * 0.5f);
        float star = std::pow(std::fabs(std::cos(ang * 2.0f)), 40.0f) * std::exp(-r * 4.0f) * 0.25f;
        float v = (core + halo + wide + star) * (1.0f - smooth(0.72f, 0.98f, r));
        // Slightly warm centre, neutral rim: the game tints it with the lamp colour.
        return rgb(clamp01(v * 1.02f), clamp01(v), clamp01(v * 0.96f));
    });
    return img;
}

Image checkpointBeacon()
{
    const int n = 256;
    Image img = makeImage(n, n, rgb(0, 0, 0));
    shadeAll(img, [&](float x, float y, Color) {
        float r = radius01(x, y, n);
        float ang = std::atan2(y - n * 0.5f, x - n * 0.5f);
        float ring = std::exp(-std::pow((r - 0.70f) / 0.035f, 2.0f));
        float ringGlow = std::exp(-std::pow((r - 0.70f) / 0.16f, 2.0f)) * 0.35f;
        float inner = std::exp(-std::pow((r - 0.46f) / 0.02f, 2.0f)) * 0.7f;
        // Eight dashes between the rings, like a target reticle.
        float seg = std::fmod(ang / (2 * 3.14159265f) * 8.0f + 8.25f, 1.0f);
        float dash = (seg < 0.5f ? 1.0f : 0.0f) * std::exp(-std::pow((r - 0.58f) / 0.03f, 2.0f)) * 0.8f;
        float centre = std::exp(-r * r * 40.0f) * 0.5f;
        float v = (ring + ringGlow + inner + dash + centre) * (1.0f - smooth(0.86f, 0.99f, r));
        return rgb(clamp01(v), clamp01(v), clamp01(v));
    });
    return img;
}

Image smokePuff()
{
    const int n = 128;
    Image img = makeImage(n, n, rgb(0.86f, 0.87f, 0.9f, 0.0f));
    shadeAll(img, [&](float x, float y, Color) {
        float r = radius01(x, y, n);
        float nse = fbm(x / 22.0f, y / 22.0f, 0, 0, 4, 77u);
        float body = std::exp(-r * r * 3.2f) * (0.55f + 0.9f * (nse - 0.5f));
        float a = clamp01(body) * (1.0f - smooth(0.6f, 0.98f, r)) * 0.55f;
        float shade = 0.78f + 0.22f * nse;
        return rgb(0.9f * shade, 0.9f * shade, 0.93f * shade, a);
    });
    return img;
}

Image exhaustFlame()
{
    const int n = 128;
    Image img = makeImage(n, n, rgb(0, 0, 0, 0));
    Ramp heat{{{0.0f, rgb(1.0f, 1.0f, 0.95f)}, {0.18f, rgb(1.0f, 0.92f, 0.55f)}, {0.45f, rgb(1.0f, 0.55f, 0.12f)},
               {0.75f, rgb(0.85f, 0.18f, 0.05f)}, {1.0f, rgb(0.4f, 0.05f, 0.1f)}}};
    shadeAll(img, [&](float x, float y, Color) {
        float r = radius01(x, y, n);
        float nse = fbm(x / 14.0f, y / 14.0f, 0, 0, 3, 301u);
        float rr = clamp01(r * (0.85f + 0.35f * nse));
        Color c = heat.at(rr);
        float a = std::exp(-rr * rr * 4.0f) * (1.0f - smooth(0.62f, 0.97f, r));
        return withAlpha(c, clamp01(a * 1.1f));
    });
    return img;
}

// A countdown picture: the text in a segmented ring (round pictures) or a wide frame (GO!).
Image countdown(const char *text, Color tint, int w, int h)
{
    Image img = makeImage(w, h, rgb(0, 0, 0));
    float size = h * 0.72f;
    TextMetrics tm = measureText(FONT_SANS_BOLD_OBLIQUE, size, text);
    float baseline = h * 0.5f + tm.ascent * 0.36f;
    Mask ink = textMaskCentred(w, h, FONT_SANS_BOLD_OBLIQUE, size, text, w * 0.5f, baseline);
    Mask frame = makeMask(w, h);
    if (w == h) {
        Image ring = makeImage(w, h, rgb(0, 0, 0, 0));
        float c = w * 0.5f;
        fillShape(ring, 0, 0, float(w), float(h), [&](float x, float y) {
            float d = std::fabs(std::hypot(x - c, y - c) - w * 0.40f) - w * 0.012f;
            float ang = std::atan2(y - c, x - c) / (2 * 3.14159265f) * 12.0f + 12.0f;
            float gap = std::fabs(std::fmod(ang, 1.0f) - 0.5f) * w * 0.2f; // 12 segments
            return std::max(d, w * 0.012f - gap);
        }, [](float, float) { return rgb(1, 1, 1); });
        frame = alphaOf(ring);
    } else {
        Image box = makeImage(w, h, rgb(0, 0, 0, 0));
        fillShape(box, 0, 0, float(w), float(h), [&](float x, float y) {
            float outer = sdBox(x, y, w * 0.5f, h * 0.5f, w * 0.44f, h * 0.40f, h * 0.12f);
            return std::fabs(outer) - h * 0.012f;
        }, [](float, float) { return rgb(1, 1, 1); });
        frame = alphaOf(box);
    }
    glowMask(img, frame, w * 0.025f, tint, 1.2f);
    paintMaskColor(img, frame, 0, 0, mix(tint, rgb(1, 1, 1), 0.3f), BLEND_ADD, 0.9f);
    glowMask(img, ink, w * 0.05f, tint, 1.6f);
    paintMask(img, ink, 0, 0, [&](float, float y) {
        // White-hot at the top of the letters, the tint towards their feet.
        float t = clamp01((y - (baseline - tm.ascent * 0.75f)) / (tm.ascent * 0.8f));
        return mix(rgb(1, 1, 0.97f), mix(tint, rgb(1, 1, 1), 0.35f), t);
    }, BLEND_OVER);
    // Keep the border black whatever the glow did.
    shadeAll(img, [&](float x, float y, Color c) {
        float e = std::min(std::min(x, w - x), std::min(y, h - y)) / (h * 0.06f);
        float k = clamp01(e);
        return rgb(clamp01(c.r) * k, clamp01(c.g) * k, clamp01(c.b) * k);
    });
    return img;
}

} // namespace

bool paintEffects()
{
    bool ok = saveSetBmp(TEX_LAMP_GLOW, lampGlow(), "lamp glow");
    ok = saveSetBmp(TEX_CHECKPOINT, checkpointBeacon(), "checkpoint beacon") && ok;
    ok = saveSetTga(TGA_PUFF, smokePuff(), true, "smoke/dust puff") && ok;
    ok = saveSetTga(TGA_FLAME, exhaustFlame(), true, "exhaust flame") && ok;
    ok = saveSetBmp(TEX_COUNT_GO, countdown("GO!", rgb(0.25f, 1.0f, 0.55f), 512, 256), "countdown GO!") && ok;
    ok = saveSetBmp(TEX_COUNT_1, countdown("1", rgb(1.0f, 0.85f, 0.25f), 256, 256), "countdown 1") && ok;
    ok = saveSetBmp(TEX_COUNT_2, countdown("2", rgb(1.0f, 0.55f, 0.12f), 256, 256), "countdown 2") && ok;
    ok = saveSetBmp(TEX_COUNT_3, countdown("3", rgb(1.0f, 0.22f, 0.18f), 256, 256), "countdown 3") && ok;
    return ok;
}
