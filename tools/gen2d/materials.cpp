// The street material kit in the set entries the game does not bind by name: surfaces, facades,
// barriers, signs and light sprites in the city's palette, 256 x 256 each. They keep the set
// complete (the game loads all 51 or none) and are there for any model that wants them.
#include "gen2d.h"

namespace {

const int N = 256;
const float PI = 3.14159265f;

template <class F>
Image surface(F f)
{
    Image img = makeImage(N, N, rgb(0, 0, 0));
    shadeAll(img, [&](float x, float y, Color) {
        Color c = f(x / N, y / N);
        return rgb(clamp01(c.r), clamp01(c.g), clamp01(c.b));
    });
    return img;
}

Color asphaltAt(float s, float t, uint32_t seed)
{
    float n = fbm(s * 8, t * 8, 8, 8, 4, seed);
    float grit = hash2(int(s * N), int(t * N), seed + 1);
    float v = 0.13f + 0.08f * n + (grit > 0.93f ? 0.07f : 0.0f) - (grit < 0.04f ? 0.04f : 0.0f);
    return rgb(v, v * 1.02f, v * 1.1f);
}

Image asphalt() { return surface([](float s, float t) { return asphaltAt(s, t, 300u); }); }

Image roadLanes()
{
    return surface([](float s, float t) {
        Color c = asphaltAt(s, t, 301u);
        float wear = fbm(s * 16, t * 16, 16, 16, 2, 302u);
        Color paint = mix(rgb(0.85f, 0.85f, 0.8f), c, 0.35f * wear);
        if (std::fabs(s - 0.5f) < 0.012f && std::fmod(t, 0.5f) < 0.25f)
            c = mix(rgb(0.95f, 0.75f, 0.2f), c, 0.3f * wear);
        if (std::fabs(s - 0.04f) < 0.01f || std::fabs(s - 0.96f) < 0.01f)
            c = paint;
        return c;
    });
}

Image roadStart()
{
    return surface([](float s, float t) {
        Color c = asphaltAt(s, t, 303u);
        if (t > 0.36f && t < 0.64f) {
            int cx = int(s * 16), cy = int((t - 0.36f) / 0.28f * 4);
            bool white = (cx + cy) & 1;
            c = white ? mix(rgb(0.88f, 0.88f, 0.85f), c, 0.2f * fbm(s * 20, t * 20, 20, 20, 2, 304u)) : scaled(c, 0.5f);
        }
        if (std::fabs(t - 0.3f) < 0.01f || std::fabs(t - 0.7f) < 0.01f)
            c = rgb(0.85f, 0.85f, 0.8f);
        return c;
    });
}

Image pavement()
{
    return surface([](float s, float t) {
        int cx = int(s * 4), cy = int(t * 4);
        float fx = s * 4 - cx, fy = t * 4 - cy;
        float tone = 0.22f + 0.06f * hash2(cx, cy, 305u) + 0.04f * fbm(s * 12, t * 12, 12, 12, 3, 306u);
        Color c = rgb(tone, tone, tone * 1.05f);
        if (fx < 0.03f || fy < 0.03f)
            c = scaled(c, 0.5f);
        return c;
    });
}

Image kerb()
{
    return surface([](float s, float t) {
        bool red = int(s * 4) % 2 == 0;
        float n = fbm(s * 10, t * 10, 10, 10, 3, 307u);
        Color c = red ? rgb(0.75f, 0.1f, 0.08f) : rgb(0.85f, 0.85f, 0.82f);
        c = scaled(c, 0.8f + 0.25f * n);
        if (t > 0.85f)
            c = scaled(c, 0.55f); // shaded top edge
        return c;
    });
}

Image concrete()
{
    return surface([](float s, float t) {
        float n = fbm(s * 6, t * 6, 6, 6, 5, 308u);
        float v = 0.3f + 0.14f * n;
        float stain = smooth(0.55f, 0.8f, fbm(s * 3, t * 1.5f, 3, 3, 3, 309u)) * (0.5f + 0.5f * t);
        Color c = rgb(v * 0.95f, v, v * 1.05f);
        c = scaled(c, 1.0f - 0.35f * stain);
        if (std::fmod(t * 3, 1.0f) < 0.012f || std::fmod(s * 2, 1.0f) < 0.008f)
            c = scaled(c, 0.6f);
        return c;
    });
}

Image brick()
{
    return surface([](float s, float t) {
        int row = int(t * 16);
        float off = (row & 1) ? 0.5f : 0.0f;
        int col = int(s * 8 + off);
        float fx = s * 8 + off - col, fy = t * 16 - row;
        float tone = hash2(col, row, 310u);
        Color c = mix(hexColor(0x4a1e18), hexColor(0x6e3024), tone);
        c = scaled(c, 0.8f + 0.3f * fbm(s * 20, t * 20, 20, 20, 2, 311u));
        if (fx < 0.06f || fy < 0.12f)
            c = hexColor(0x2a2a2c);
        return c;
    });
}

// Windows on a facade: cols x rows cells, lit share and colours.
Color windowGrid(float s, float t, int cols, int rows, uint32_t seed, Color wall, float lit, bool glassWall)
{
    int cx = int(s * cols), cy = int(t * rows);
    float fx = s * cols - cx, fy = t * rows - cy;
    bool inWin = glassWall ? (fx > 0.06f && fy > 0.08f) : (fx > 0.2f && fx < 0.8f && fy > 0.2f && fy < 0.78f);
    if (!inWin)
        return wall;
    float h = hash2(cx, cy, seed);
    if (h > lit)
        return mix(hexColor(0x0c1424), hexColor(0x1a2640), fy);
    float k = hash2(cx, cy, seed + 1);
    Color c = k < 0.5f ? pal::sodiumPale : (k < 0.85f ? pal::lampWhite : hexColor(0x7aa8ff));
    // Blinds and lamps: brighter at the top of each window.
    return scaled(c, 0.45f + 0.45f * (1 - fy) * hash2(cx, cy, seed + 2) + 0.1f);
}

Image facadeOffice()
{
    return surface([](float s, float t) { return windowGrid(s, t, 8, 12, 312u, hexColor(0x1a2030), 0.35f, true); });
}

Image facadeFlats()
{
    return surface([](float s, float t) {
        Color wall = scaled(hexColor(0x3a3440), 0.7f + 0.2f * fbm(s * 8, t * 8, 8, 8, 3, 313u));
        Color c = windowGrid(s, t, 4, 6, 314u, wall, 0.45f, false);
        float fy = t * 6 - int(t * 6);
        if (fy > 0.8f && fy < 0.86f)
            c = hexColor(0x14161c); // balcony ledges
        return c;
    });
}

Image shopfront()
{
    Image img = surface([](float s, float t) {
        Color c = hexColor(0x15171f);
        if (t > 0.38f && t < 0.95f && s > 0.05f && s < 0.95f) {
            bool mullion = std::fabs(std::fmod(s * 3, 1.0f) - 0.5f) > 0.47f;
            c = mullion ? hexColor(0x0a0b10) : mix(hexColor(0xffc070), hexColor(0x704020), (t - 0.38f) / 0.57f);
            if (!mullion && std::fmod(t * 10, 1.0f) < 0.08f)
                c = scaled(c, 0.6f);
        }
        return c;
    });
    Mask m = textMaskCentred(N, N, FONT_CONDENSED_BOLD, 60, "DINER", N * 0.5f, 78, 6);
    glowMask(img, m, 8, pal::magenta, 1.5f);
    paintMaskColor(img, m, 0, 0, mix(pal::magenta, rgb(1, 1, 1), 0.5f), BLEND_OVER);
    return img;
}

Image barrierChevron()
{
    return surface([](float s, float t) {
        float k = std::fmod(s * 4 + std::fabs(t - 0.5f) * 2 + 8, 1.0f);
        Color c = k < 0.5f ? rgb(0.85f, 0.1f, 0.08f) : rgb(0.92f, 0.92f, 0.9f);
        c = scaled(c, 0.8f + 0.2f * fbm(s * 12, t * 12, 12, 12, 2, 315u));
        if (t < 0.06f || t > 0.94f)
            c = hexColor(0x202226);
        return c;
    });
}

Image guardRail()
{
    return surface([](float s, float t) {
        // Two W-beam corrugations with a steel sheen.
        float wave = std::cos(t * 4 * PI * 2);
        float v = 0.45f + 0.25f * wave + 0.08f * fbm(s * 16, t * 4, 16, 4, 2, 316u);
        Color c = rgb(v * 0.9f, v * 0.95f, v);
        float bx = std::fmod(s * 2, 1.0f), by = std::fmod(t * 2, 1.0f);
        if (std::hypot(bx - 0.5f, by - 0.5f) < 0.03f)
            c = rgb(0.2f, 0.2f, 0.22f);
        return c;
    });
}

Image tyreWall()
{
    return surface([](float s, float t) {
        float fx = std::fmod(s * 4, 1.0f) - 0.5f, fy = std::fmod(t * 4, 1.0f) - 0.5f;
        float r = std::hypot(fx, fy);
        Color c = hexColor(0x08090b);
        if (r < 0.48f) {
            c = scaled(hexColor(0x1c1d20), 0.7f + 0.5f * (0.48f - r));
            if (std::fabs(r - 0.36f) < 0.035f)
                c = rgb(0.85f, 0.85f, 0.85f);
            if (r < 0.2f)
                c = hexColor(0x050506);
        }
        return c;
    });
}

Image grating()
{
    return surface([](float s, float t) {
        float fx = std::fmod(s * 12, 1.0f), fy = std::fmod(t * 24, 1.0f);
        Color c = hexColor(0x020203);
        if (fx < 0.25f || fy < 0.3f)
            c = scaled(rgb(0.32f, 0.33f, 0.36f), 0.7f + 0.5f * fbm(s * 8, t * 8, 8, 8, 2, 317u));
        return c;
    });
}

Image roadArrow()
{
    Image img = surface([](float s, float t) { return asphaltAt(s, t, 318u); });
    UnitFrame f{N, N, 100, 100};
    std::vector<float> arrow = {50, 92, 76, 62, 60, 62, 60, 8, 40, 8, 40, 62, 24, 62};
    fillUnits(img, f, [&](float u, float v) { return sdPolygon(u, v, arrow); },
              [](float u, float v) { return rgb(0.85f, 0.85f, 0.8f, 0.75f + 0.25f * fbm(u / 6, v / 6, 0, 0, 2, 319u)); });
    return img;
}

Image neonSign()
{
    Image img = brick();
    for (Color &c : img.px)
        c = scaled(c, 0.35f);
    Mask open = textMaskCentred(N, N, FONT_SANS_BOLD, 70, "OPEN", N * 0.5f, 112, 4);
    Mask late = textMaskCentred(N, N, FONT_CONDENSED_BOLD_OBLIQUE, 40, "ALL NIGHT", N * 0.5f, 190, 3);
    glowMask(img, open, 10, pal::cyan, 1.6f);
    glowMask(img, late, 8, pal::magenta, 1.6f);
    paintMaskColor(img, open, 0, 0, mix(pal::cyan, rgb(1, 1, 1), 0.6f));
    paintMaskColor(img, late, 0, 0, mix(pal::magenta, rgb(1, 1, 1), 0.5f));
    return img;
}

Image billboard()
{
    Image img = surface([](float s, float t) {
        Color c = mix(hexColor(0x1438a8), hexColor(0x050a20), t);
        float stripe = std::fmod(s * 1.5f + t * 0.8f, 1.0f);
        if (stripe < 0.08f)
            c = mix(c, pal::sodium, 0.8f);
        return c;
    });
    Mask a = textMaskCentred(N, N, FONT_CONDENSED_BOLD_OBLIQUE, 52, "VOLTA", N * 0.5f, 110, 4);
    Mask b = textMaskCentred(N, N, FONT_SANS_BOLD, 22, "ENERGY DRINK", N * 0.5f, 150, 3);
    Mask sh = a;
    blurMask(sh, 4);
    paintMaskColor(img, sh, 3, 3, rgb(0, 0, 0, 0.8f), BLEND_OVER, 2);
    paintMaskColor(img, a, 0, 0, rgb(1, 1, 1));
    paintMaskColor(img, b, 0, 0, pal::sodiumPale);
    UnitFrame f{N, N, 100, 100};
    fillUnits(img, f, [](float u, float v) { return std::fabs(sdBox(u, v, 50, 50, 48, 48, 2)) - 1.2f; },
              [](float, float) { return hexColor(0xd0d4dc); });
    return img;
}

Image shutter()
{
    Image img = surface([](float s, float t) {
        float rib = std::fmod(t * 32, 1.0f);
        float v = 0.32f + 0.12f * std::sin(rib * PI) + 0.06f * fbm(s * 6, t * 6, 6, 6, 3, 320u);
        return rgb(v, v * 1.02f, v * 1.08f);
    });
    // A sprayed tag: soft-edged letters with a darker outline, worn where the noise says so.
    Mask tag = textMaskCentred(N, N, FONT_SANS_BOLD_OBLIQUE, 74, "NOS", N * 0.5f, 160, 2);
    blurMask(tag, 1.5f);
    Mask outline = tag;
    blurMask(outline, 4.0f);
    auto wear = [](float x, float y) { return smooth(0.3f, 0.5f, fbm(x / 20, y / 20, 0, 0, 3, 321u)); };
    paintMask(img, outline, 0, 0, [&](float x, float y) { return rgb(0.05f, 0.05f, 0.1f, 0.8f * wear(x, y)); },
              BLEND_OVER, 2.5f);
    paintMask(img, tag, 0, 0, [&](float x, float y) {
        return withAlpha(mix(pal::magenta, pal::cyan, clamp01((y - 100) / 70)), 0.9f * wear(x, y));
    });
    return img;
}

Image rooftop()
{
    return surface([](float s, float t) {
        float g = hash2(int(s * N / 2), int(t * N / 2), 322u);
        float v = 0.2f + 0.12f * g + 0.05f * fbm(s * 4, t * 4, 4, 4, 3, 323u);
        Color c = rgb(v, v, v * 0.95f);
        float vx = std::fmod(s * 2, 1.0f) - 0.5f, vy = std::fmod(t * 2, 1.0f) - 0.5f;
        if (std::fabs(vx) < 0.12f && std::fabs(vy) < 0.12f)
            c = std::fabs(vx) < 0.09f && std::fabs(vy) < 0.09f ? hexColor(0x50545c) : hexColor(0x202226);
        return c;
    });
}

Image park()
{
    return surface([](float s, float t) {
        float n = fbm(s * 8, t * 8, 8, 8, 5, 324u);
        float blade = hash2(int(s * N), int(t * N), 325u);
        Color c = mix(hexColor(0x07140c), hexColor(0x16301c), n);
        return scaled(c, 0.85f + 0.3f * blade);
    });
}

Image water()
{
    return surface([](float s, float t) {
        float n = fbm(s * 4 + fbm(s * 2, t * 8, 2, 8, 2, 326u), t * 16, 4, 16, 4, 327u);
        Color c = mix(hexColor(0x030a18), hexColor(0x0c2448), n);
        float glint = smooth(0.72f, 0.8f, n);
        return mix(c, pal::sodiumPale, glint * 0.6f);
    });
}

Image lampPost()
{
    return surface([](float s, float t) {
        float sheen = std::exp(-std::pow((s - 0.35f) * 10, 2.0f)) * 0.35f;
        float v = 0.1f + 0.08f * std::sin(s * PI) + sheen;
        Color c = rgb(v * 0.8f, v * 0.95f, v);
        if (std::fmod(t * 4, 1.0f) < 0.03f)
            c = scaled(c, 0.5f);
        return c;
    });
}

Image flare(Color tint, float streak)
{
    return surface([&](float s, float t) {
        float x = s - 0.5f, y = t - 0.5f;
        float r = std::hypot(x, y) * 2;
        float core = std::exp(-r * r * 40) + std::exp(-r * 5) * 0.3f;
        float line = std::exp(-y * y * 3000) * std::exp(-std::fabs(x) * 4) * streak;
        float v = (core + line) * (1 - smooth(0.8f, 1.0f, r));
        Color c = mix(tint, rgb(1, 1, 1), std::exp(-r * r * 60));
        return scaled(c, v);
    });
}

Image lightTrail()
{
    return surface([](float s, float t) {
        float d = (t - 0.5f) * 2;
        float v = std::exp(-d * d * 40) + 0.3f * std::exp(-std::fabs(d) * 6);
        float along = 0.6f + 0.4f * std::sin(s * PI);
        Color c = mix(rgb(1, 0.15f, 0.1f), rgb(1, 0.95f, 0.9f), std::exp(-d * d * 200));
        return scaled(c, v * along);
    });
}

Image tintedGlass()
{
    return surface([](float s, float t) {
        Color c = mix(hexColor(0x0a1630), hexColor(0x020610), t);
        float streak = std::exp(-std::pow((s + t * 0.6f - 0.7f) * 8, 2.0f)) * 0.35f;
        float streak2 = std::exp(-std::pow((s + t * 0.6f - 0.95f) * 20, 2.0f)) * 0.2f;
        return rgb(c.r + streak + streak2, c.g + streak + streak2, c.b + (streak + streak2) * 1.2f);
    });
}

} // namespace

bool paintMaterials()
{
    struct Entry {
        int entry;
        Image (*fn)();
        const char *role;
    } entries[] = {
        {TEX_ASPHALT, asphalt, "asphalt"},
        {TEX_ROAD_LANES, roadLanes, "road with lane lines"},
        {TEX_ROAD_START, roadStart, "start line chequer"},
        {TEX_PAVEMENT, pavement, "pavement slabs"},
        {TEX_KERB, kerb, "kerb stripes"},
        {TEX_CONCRETE, concrete, "concrete"},
        {TEX_BRICK, brick, "brick"},
        {TEX_FACADE_OFFICE, facadeOffice, "office facade"},
        {TEX_FACADE_FLATS, facadeFlats, "flats facade"},
        {TEX_SHOPFRONT, shopfront, "shop front"},
        {TEX_BARRIER_CHEVRON, barrierChevron, "barrier chevrons"},
        {TEX_GUARD_RAIL, guardRail, "guard rail"},
        {TEX_TYRE_WALL, tyreWall, "tyre wall"},
        {TEX_GRATING, grating, "grating"},
        {TEX_ROAD_ARROW, roadArrow, "road arrow"},
        {TEX_NEON_SIGN, neonSign, "neon sign"},
        {TEX_BILLBOARD, billboard, "billboard"},
        {TEX_SHUTTER, shutter, "roller shutter"},
        {TEX_ROOFTOP, rooftop, "rooftop"},
        {TEX_PARK, park, "park grass"},
        {TEX_WATER, water, "canal water"},
        {TEX_LAMP_POST, lampPost, "lamp post metal"},
        {TEX_LIGHT_TRAIL, lightTrail, "light trail"},
        {TEX_TINTED_GLASS, tintedGlass, "tinted glass"},
    };
    bool ok = true;
    for (const Entry &e : entries)
        ok = saveSetBmp(e.entry, e.fn(), e.role) && ok;
    ok = saveSetBmp(TEX_HEADLIGHT_FLARE, flare(rgb(0.75f, 0.85f, 1.0f), 1.0f), "headlight flare") && ok;
    ok = saveSetBmp(TEX_TAILLIGHT_FLARE, flare(rgb(1.0f, 0.1f, 0.08f), 0.6f), "tail light flare") && ok;
    return ok;
}
