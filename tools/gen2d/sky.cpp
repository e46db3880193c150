// The night sky: a five-faced box for the reflection image, the drifting cloud layer and the
// skyline band that stands around every track.
#include "gen2d.h"

namespace {

const int face = 512;           // sky box face size
const float horizonT = 0.34f;   // the box spans y -1000..2000, so the eye level sits a third up
const Color skyTop = hexColor(0x02040b);

// Sky colour by height above the horizon (0 at the horizon, 1 at the top of a side face).
Color skyAt(float up)
{
    static const Ramp ramp{{{0.0f, hexColor(0x4a2f3a)}, {0.05f, hexColor(0x2c2642)}, {0.18f, hexColor(0x121a3a)},
                            {0.45f, hexColor(0x070c20)}, {1.0f, skyTop}}};
    return ramp.at(up);
}

// Faint stars, fewer near the hazy horizon.
float starAt(float x, float y, uint32_t seed, float density)
{
    int cx = int(x / 6), cy = int(y / 6);
    float h = hash2(cx, cy, seed);
    if (h > density)
        return 0.0f;
    float sx = cx * 6 + 1 + hash2(cx, cy, seed + 1) * 4, sy = cy * 6 + 1 + hash2(cx, cy, seed + 2) * 4;
    float d = std::hypot(x - sx, y - sy);
    return std::exp(-d * d * 2.5f) * (0.3f + 0.7f * hash2(cx, cy, seed + 3));
}

// The full 360-degree panorama, four faces side by side in the order the box walls meet.
Image panorama()
{
    const int W = face * 4, H = face;
    Image pano = makeImage(W, H, rgb(0, 0, 0));
    Skyline far = makeSkyline(W, face * 0.10f, face * 0.02f, 1001u, 0.55f);
    Skyline near = makeSkyline(W, face * 0.22f, face * 0.03f, 2002u, 0.8f);
    float horizonY = H * (1.0f - horizonT);
    shadeAll(pano, [&](float x, float y, Color) {
        int ix = int(x);
        float up = (horizonY - y) / (H - (H - horizonY)); // 0 at horizon, 1 at top row
        float upPix = horizonY - y;
        if (y > horizonY + face * 0.04f) {
            // Below the horizon: the city floor, a dark glittering carpet of street light.
            float depth = (y - horizonY) / (H - horizonY);
            float twinkle = hash2(ix / 2, int(y) / 2, 55u);
            Color base = mix(hexColor(0x1a1420), hexColor(0x05060a), clamp01(depth * 1.5f));
            if (twinkle > 0.985f - 0.02f * (1 - depth))
                base = mix(base, twinkle > 0.995f ? pal::lampWhite : pal::sodium, 0.6f * (1 - depth));
            return base;
        }
        Color c = skyAt(clamp01(up));
        c = mix(c, rgb(1, 1, 1), starAt(x, y, 77u, 0.05f * clamp01(up * 3.0f)));
        // Thin cloud banks, lit orange from the streets underneath and cold higher up; the noise
        // period is the panorama width so the four walls join.
        float cl = fbm(x / 96.0f, y / 40.0f, W / 96, 0, 5, 606u);
        float bank = smooth(0.5f, 0.75f, cl) * smooth(0.0f, 0.08f, up) * (1.0f - smooth(0.35f, 0.7f, up));
        Color lit = mix(hexColor(0x8a5a4a), hexColor(0x2a3050), clamp01(up * 2.2f));
        c = mix(c, lit, bank * 0.55f);
        // The moon, high on the x+ wall, with a soft halo.
        float mx = face * 1.3f, my = H * 0.18f;
        float md = std::hypot(x - mx, y - my);
        if (md < 15.0f) {
            float crater = fbm(x / 5.0f, y / 5.0f, 0, 0, 3, 808u);
            Color moon = mix(hexColor(0xdfe6f2), hexColor(0xaab4c8), smooth(0.45f, 0.7f, crater));
            c = mix(c, moon, clamp01(15.0f - md));
        }
        float halo = std::exp(-md / 26.0f) * 0.35f;
        c = rgb(c.r + halo * 0.7f, c.g + halo * 0.78f, c.b + halo * 0.95f);
        // Distant towers are hazy blue silhouettes; the nearer row is darker with lit windows.
        float baseUp = upPix + face * 0.04f;
        if (baseUp < far.height[ix]) {
            Color f = mix(hexColor(0x141a33), hexColor(0x1c2140), clamp01(baseUp / (face * 0.1f)));
            if (hash2(ix / 2, int(baseUp) / 3, 9u) > 0.93f)
                f = mix(f, pal::sodiumPale, 0.35f);
            c = f;
        }
        if (baseUp < near.height[ix])
            c = skylineFace(near, ix, baseUp * 1.4f);
        // Street glow rising behind the buildings.
        float glow = std::exp(-std::max(0.0f, upPix) / (face * 0.05f)) * 0.35f;
        c.r += glow * 0.9f;
        c.g += glow * 0.45f;
        c.b += glow * 0.2f;
        return c;
    });
    return pano;
}

Image cutFace(const Image &pano, int quarter)
{
    Image f = makeImage(face, face, rgb(0, 0, 0));
    for (int y = 0; y < face; y++)
        for (int x = 0; x < face; x++)
            f.at(x, y) = pano.at(quarter * face + x, y);
    return f;
}

Image skyTopFace()
{
    Image img = makeImage(face, face, skyTop);
    shadeAll(img, [&](float x, float y, Color) {
        // Matches the top rows of the walls at the border, a touch darker overhead.
        float e = std::max(std::fabs(x / face - 0.5f), std::fabs(y / face - 0.5f)) * 2.0f;
        Color c = mix(hexColor(0x010208), skyTop, e);
        return mix(c, rgb(1, 1, 1), starAt(x, y, 91u, 0.06f) * 0.8f);
    });
    return img;
}

Image clouds()
{
    const int n = 512;
    Image img = makeImage(n, n, rgb(0, 0, 0));
    shadeAll(img, [&](float x, float y, Color) {
        float u = x / n * 4.0f, v = y / n * 4.0f;
        // Domain warp makes the fbm look like drifting strata instead of blobs.
        float wx = fbm(u + 3.1f, v, 4, 4, 3, 11u) * 2.0f, wy = fbm(u, v + 7.7f, 4, 4, 3, 13u) * 0.6f;
        float f = fbm(u + wx, v + wy, 4, 4, 6, 17u, 0.55f);
        float d = smooth(0.42f, 0.78f, f);
        float detail = fbm(u * 2.0f, v * 2.0f, 8, 8, 3, 23u);
        float k = clamp01(d * (0.75f + 0.5f * detail));
        // Undersides catch the orange of the streets, tops stay cold.
        return mix(rgb(0.55f * k, 0.62f * k, 0.85f * k), rgb(1.0f * k, 0.86f * k, 0.72f * k), d * 0.5f);
    });
    return img;
}

// The skyline band: a tiling row of towers with lit windows, neon on some roofs and aviation
// lights on the tallest; transparent sky above with a thin haze of city light.
Image skylineBand()
{
    const int W = 1024, H = 256;
    Image img = makeImage(W, H, rgb(0, 0, 0, 0));
    Skyline back = makeSkyline(W, H * 0.78f, H * 0.30f, 3003u, 0.9f);
    Skyline front = makeSkyline(W, H * 0.55f, H * 0.16f, 4004u, 1.2f);
    shadeAll(img, [&](float x, float y, Color) {
        int ix = int(x);
        float up = H - y;
        Color c = rgb(0.35f, 0.22f, 0.3f, 0.0f);
        // City haze above the roofs.
        float hazeTop = std::max(back.height[ix], front.height[ix]);
        float haze = clamp01(1.0f - (up - hazeTop) / (H * 0.35f)) * 0.35f;
        c = rgb(0.45f, 0.28f, 0.32f, haze * clamp01((H - 3 - up) / 8.0f));
        if (up < back.height[ix]) {
            Color b = mix(hexColor(0x0d1226), hexColor(0x121833), hash2(back.building[ix], 5, 3003u));
            if (skylineFace(back, ix, up).r > 0.3f)
                b = mix(b, skylineFace(back, ix, up), 0.55f);
            c = b;
        }
        if (up < front.height[ix])
            c = skylineFace(front, ix, up);
        // Street-level glow at the foot of the band.
        float foot = std::exp(-up / (H * 0.07f));
        c.r += foot * 0.55f;
        c.g += foot * 0.3f;
        c.b += foot * 0.12f;
        if (up < 2.0f)
            c.a = 0.0f; // the band repeats vertically too: keep the wrap row from bleeding on top
        return c;
    });
    // Aviation lights on the tallest roofs and neon on a few.
    for (int b = 0; b < int(back.building.back()) + 1; b++) {
        int x0 = -1, x1 = -1;
        for (int x = 0; x < W; x++)
            if (back.building[x] == b) {
                if (x0 < 0)
                    x0 = x;
                x1 = x;
            }
        if (x0 < 0 || x1 - x0 < 8)
            continue;
        float top = H - back.height[x0 + (x1 - x0) / 2];
        if (back.height[(x0 + x1) / 2] > H * 0.6f) {
            float cx = (x0 + x1) * 0.5f;
            fillShape(img, cx - 1, top - 16, cx + 1, top, [&](float x, float y) {
                return sdBox(x, y, cx, top - 8, 0.7f, 8);
            }, [](float, float) { return hexColor(0x0a0e1c); });
            fillShape(img, cx - 4, top - 20, cx + 4, top - 12, [&](float x, float y) {
                return sdCircle(x, y, cx, top - 17, 1.6f);
            }, [](float, float) { return rgb(1.0f, 0.2f, 0.15f); });
        } else if (hash2(b, 99, 5u) > 0.7f) {
            Color neon = hash2(b, 98, 5u) > 0.5f ? pal::magenta : pal::cyan;
            float cx = (x0 + x1) * 0.5f, hw = std::min(14.0f, (x1 - x0) * 0.35f);
            // A lit sign hung just under the roof line: dim panel, bright tube border.
            float cy = top + 11;
            fillShape(img, cx - hw - 4, cy - 8, cx + hw + 4, cy + 8, [&](float x, float y) {
                return sdBox(x, y, cx, cy, hw, 4.5f, 1.5f);
            }, [&](float, float) { return mix(hexColor(0x0b1020), neon, 0.35f); });
            fillShape(img, cx - hw - 4, cy - 8, cx + hw + 4, cy + 8, [&](float x, float y) {
                return std::fabs(sdBox(x, y, cx, cy, hw, 4.5f, 1.5f)) - 0.8f;
            }, [&](float, float) { return mix(neon, rgb(1, 1, 1), 0.3f); });
        }
    }
    return img;
}

} // namespace

bool paintSky()
{
    Image pano = panorama();
    // Walking round the box with s increasing: z0 wall, x1 wall, z1 wall, x0 wall.
    bool ok = saveSetBmp(TEX_SKYBOX_ZNEG, cutFace(pano, 0), "sky box z- wall");
    ok = saveSetBmp(TEX_SKYBOX_XPOS, cutFace(pano, 1), "sky box x+ wall") && ok;
    ok = saveSetBmp(TEX_SKYBOX_ZPOS, cutFace(pano, 2), "sky box z+ wall") && ok;
    ok = saveSetBmp(TEX_SKYBOX_XNEG, cutFace(pano, 3), "sky box x- wall") && ok;
    ok = saveSetBmp(TEX_SKYBOX_TOP, skyTopFace(), "sky box top") && ok;
    ok = saveSetBmp(TEX_CLOUDS, clouds(), "night clouds (tiles)") && ok;
    ok = saveSetTga(TGA_SKYLINE, skylineBand(), true, "skyline band") && ok;
    return ok;
}
