#include "canvas.h"

#include <cstdio>
#include <ft2build.h>
#include FT_FREETYPE_H

Color Ramp::at(float t) const
{
    if (stops.empty())
        return {0, 0, 0, 0};
    if (t <= stops.front().t)
        return stops.front().c;
    for (size_t i = 1; i < stops.size(); i++)
        if (t <= stops[i].t) {
            const Stop &a = stops[i - 1], &b = stops[i];
            return mix(a.c, b.c, (t - a.t) / std::max(1e-6f, b.t - a.t));
        }
    return stops.back().c;
}

Image makeImage(int w, int h, Color fill)
{
    Image img;
    img.w = w;
    img.h = h;
    img.px.assign(size_t(w) * h, fill);
    return img;
}

float sdBox(float px, float py, float cx, float cy, float hw, float hh, float radius)
{
    float qx = std::fabs(px - cx) - hw + radius, qy = std::fabs(py - cy) - hh + radius;
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sdSegment(float px, float py, float ax, float ay, float bx, float by)
{
    float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
    float len2 = bax * bax + bay * bay;
    float h = len2 > 0.0f ? clamp01((pax * bax + pay * bay) / len2) : 0.0f;
    return std::hypot(pax - bax * h, pay - bay * h);
}

float sdPolygon(float px, float py, const std::vector<float> &xy)
{
    size_t n = xy.size() / 2;
    float d = 1e30f;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
        d = std::min(d, sdSegment(px, py, xi, yi, xj, yj));
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside ? -d : d;
}

float hash2(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 0x8da6b343u ^ uint32_t(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / float(0x1000000);
}

static int wrapi(int v, int p) { return p > 0 ? ((v % p) + p) % p : v; }

float valueNoise(float x, float y, int periodX, int periodY, uint32_t seed)
{
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    int x0 = wrapi(ix, periodX), x1 = wrapi(ix + 1, periodX);
    int y0 = wrapi(iy, periodY), y1 = wrapi(iy + 1, periodY);
    float a = hash2(x0, y0, seed), b = hash2(x1, y0, seed), c = hash2(x0, y1, seed), d = hash2(x1, y1, seed);
    return lerp(lerp(a, b, tx), lerp(c, d, tx), ty);
}

float fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed, float gain)
{
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; o++) {
        sum += amp * valueNoise(x, y, periodX, periodY, seed + uint32_t(o) * 7919u);
        norm += amp;
        amp *= gain;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

Mask makeMask(int w, int h)
{
    Mask m;
    m.w = w;
    m.h = h;
    m.v.assign(size_t(w) * h, 0.0f);
    return m;
}

// One box pass along a line of n values with stride, radius r (integer), optional wrap.
static void boxLine(float *p, int n, int stride, int r, bool wrap, std::vector<float> &tmp)
{
    tmp.resize(n);
    for (int i = 0; i < n; i++)
        tmp[i] = p[size_t(i) * stride];
    auto get = [&](int i) -> float {
        if (wrap)
            return tmp[wrapi(i, n)];
        return (i < 0 || i >= n) ? 0.0f : tmp[i];
    };
    float sum = 0;
    for (int i = -r; i <= r; i++)
        sum += get(i);
    float inv = 1.0f / (2 * r + 1);
    for (int i = 0; i < n; i++) {
        p[size_t(i) * stride] = sum * inv;
        sum += get(i + r + 1) - get(i - r);
    }
}

void blurMask(Mask &m, float radius, bool wrap)
{
    int r = std::max(1, int(radius / 1.7f + 0.5f));
    std::vector<float> tmp;
    for (int pass = 0; pass < 3; pass++) {
        for (int y = 0; y < m.h; y++)
            boxLine(&m.v[size_t(y) * m.w], m.w, 1, r, wrap, tmp);
        for (int x = 0; x < m.w; x++)
            boxLine(&m.v[x], m.h, m.w, r, wrap, tmp);
    }
}

// Blurs premultiplied colour so transparent pixels do not darken the edges.
void blurImage(Image &img, float radius, bool wrap)
{
    Mask ch[4];
    for (int c = 0; c < 4; c++)
        ch[c] = makeMask(img.w, img.h);
    for (size_t i = 0; i < img.px.size(); i++) {
        const Color &p = img.px[i];
        ch[0].v[i] = p.r * p.a;
        ch[1].v[i] = p.g * p.a;
        ch[2].v[i] = p.b * p.a;
        ch[3].v[i] = p.a;
    }
    for (int c = 0; c < 4; c++)
        blurMask(ch[c], radius, wrap);
    for (size_t i = 0; i < img.px.size(); i++) {
        float a = ch[3].v[i];
        float inv = a > 1e-6f ? 1.0f / a : 0.0f;
        img.px[i] = {ch[0].v[i] * inv, ch[1].v[i] * inv, ch[2].v[i] * inv, a};
    }
}

Mask alphaOf(const Image &img)
{
    Mask m = makeMask(img.w, img.h);
    for (size_t i = 0; i < img.px.size(); i++)
        m.v[i] = img.px[i].a;
    return m;
}

// ---- FreeType ----

// FreeType faces may not be shared between threads: every painting thread opens its own.
static thread_local FT_Library ftLib;
static thread_local FT_Face ftFaces[FONT_COUNT];
static const char *fontFiles[FONT_COUNT] = {
    "DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-BoldOblique.ttf", "DejaVuSansMono.ttf",
    "DejaVuSansMono-Bold.ttf", "DejaVuSansMono-BoldOblique.ttf", "DejaVuSansCondensed-Bold.ttf",
    "DejaVuSansCondensed-BoldOblique.ttf"};

bool fontsInit(const char *folder)
{
    if (FT_Init_FreeType(&ftLib))
        return false;
    for (int i = 0; i < FONT_COUNT; i++) {
        std::string path = std::string(folder) + "/" + fontFiles[i];
        if (FT_New_Face(ftLib, path.c_str(), 0, &ftFaces[i])) {
            fprintf(stderr, "gen2d: cannot open font %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

void fontsShutdown()
{
    for (auto &f : ftFaces)
        if (f) {
            FT_Done_Face(f);
            f = nullptr;
        }
    if (ftLib)
        FT_Done_FreeType(ftLib);
    ftLib = nullptr;
}

GlyphBitmap renderGlyph(FontId font, float pixelSize, unsigned code)
{
    GlyphBitmap g;
    FT_Face face = ftFaces[font];
    FT_Set_Char_Size(face, 0, FT_F26Dot6(pixelSize * 64.0f + 0.5f), 72, 72);
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_NO_HINTING))
        return g;
    FT_GlyphSlot s = face->glyph;
    g.w = int(s->bitmap.width);
    g.h = int(s->bitmap.rows);
    g.left = s->bitmap_left;
    g.top = s->bitmap_top;
    g.advance = s->advance.x / 64.0f;
    g.gray.resize(size_t(g.w) * g.h);
    for (int y = 0; y < g.h; y++)
        for (int x = 0; x < g.w; x++)
            g.gray[size_t(y) * g.w + x] = s->bitmap.buffer[y * s->bitmap.pitch + x];
    return g;
}

TextMetrics measureText(FontId font, float pixelSize, const std::string &text, float tracking)
{
    FT_Face face = ftFaces[font];
    FT_Set_Char_Size(face, 0, FT_F26Dot6(pixelSize * 64.0f + 0.5f), 72, 72);
    TextMetrics tm{0, face->size->metrics.ascender / 64.0f, -face->size->metrics.descender / 64.0f};
    for (size_t i = 0; i < text.size(); i++) {
        if (FT_Load_Char(face, (unsigned char)text[i], FT_LOAD_NO_HINTING))
            continue;
        tm.width += face->glyph->advance.x / 64.0f + (i + 1 < text.size() ? tracking : 0.0f);
    }
    return tm;
}

void drawText(Mask &m, FontId font, float pixelSize, const std::string &text, float penX, float baselineY,
              float tracking)
{
    for (unsigned char ch : text) {
        GlyphBitmap g = renderGlyph(font, pixelSize, ch);
        int ox = int(std::lround(penX)) + g.left, oy = int(std::lround(baselineY)) - g.top;
        for (int y = 0; y < g.h; y++)
            for (int x = 0; x < g.w; x++) {
                int mx = ox + x, my = oy + y;
                if (mx < 0 || my < 0 || mx >= m.w || my >= m.h)
                    continue;
                float v = g.gray[size_t(y) * g.w + x] / 255.0f;
                float &d = m.at(mx, my);
                d = std::max(d, v);
            }
        penX += g.advance + tracking;
    }
}

// ---- files ----

static uint8_t toByte(float v) { return uint8_t(std::lround(clamp01(v) * 255.0f)); }

void toBytes(const Image &img, int channels, std::vector<uint8_t> &out, bool bottomUp)
{
    out.resize(size_t(img.w) * img.h * channels);
    size_t o = 0;
    for (int row = 0; row < img.h; row++) {
        int y = bottomUp ? img.h - 1 - row : row;
        for (int x = 0; x < img.w; x++) {
            const Color &c = img.at(x, y);
            float a = channels == 4 ? 1.0f : clamp01(c.a);
            // Opaque formats show the picture as laid over black.
            out[o++] = toByte(c.r * a);
            out[o++] = toByte(c.g * a);
            out[o++] = toByte(c.b * a);
            if (channels == 4)
                out[o++] = toByte(c.a);
        }
    }
}

static void put16(std::vector<uint8_t> &v, uint32_t x)
{
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
static void put32(std::vector<uint8_t> &v, uint32_t x)
{
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

std::vector<uint8_t> encodeBmp(const Image &img)
{
    int stride = (img.w * 3 + 3) & ~3;
    uint32_t dataSize = uint32_t(stride) * img.h;
    std::vector<uint8_t> v;
    v.reserve(54 + dataSize);
    v.push_back('B');
    v.push_back('M');
    put32(v, 54 + dataSize);
    put32(v, 0);
    put32(v, 54);
    put32(v, 40);
    put32(v, uint32_t(img.w));
    put32(v, uint32_t(img.h)); // positive: bottom row first
    put16(v, 1);
    put16(v, 24);
    put32(v, 0); // uncompressed
    put32(v, dataSize);
    put32(v, 2835); // 72 dpi
    put32(v, 2835);
    put32(v, 0);
    put32(v, 0);
    std::vector<uint8_t> rgb;
    toBytes(img, 3, rgb, true);
    for (int y = 0; y < img.h; y++) {
        const uint8_t *row = &rgb[size_t(y) * img.w * 3];
        for (int x = 0; x < img.w; x++) {
            v.push_back(row[3 * x + 2]);
            v.push_back(row[3 * x + 1]);
            v.push_back(row[3 * x + 0]);
        }
        for (int p = img.w * 3; p < stride; p++)
            v.push_back(0);
    }
    return v;
}

std::vector<uint8_t> encodeTga(const Image &img, bool alpha)
{
    int ch = alpha ? 4 : 3;
    std::vector<uint8_t> v = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put16(v, uint32_t(img.w));
    put16(v, uint32_t(img.h));
    v.push_back(uint8_t(ch * 8));
    v.push_back(alpha ? 8 : 0); // alpha bits; origin bottom left
    std::vector<uint8_t> px;
    toBytes(img, ch, px, true);
    for (size_t i = 0; i < px.size(); i += ch)
        std::swap(px[i], px[i + 2]);
    v.insert(v.end(), px.begin(), px.end());
    return v;
}

bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "gen2d: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = fclose(f) == 0 && ok;
    return ok;
}
