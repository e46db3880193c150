// The drawing kit every 2D asset is painted with: a float RGBA canvas (y down, straight alpha),
// anti-aliased shapes from signed distances, tileable noise, blurs and FreeType text.
// Everything is plain arithmetic on fixed inputs, so the same program gives the same pixels.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

struct Color {
    float r, g, b, a;
};

inline Color rgb(float r, float g, float b, float a = 1.0f) { return {r, g, b, a}; }
inline Color hexColor(uint32_t h, float a = 1.0f)
{
    return {((h >> 16) & 255) / 255.0f, ((h >> 8) & 255) / 255.0f, (h & 255) / 255.0f, a};
}
inline Color mix(Color x, Color y, float t)
{
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}
inline Color scaled(Color c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }
inline Color withAlpha(Color c, float a) { return {c.r, c.g, c.b, a}; }

inline float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }
inline float smooth(float e0, float e1, float x)
{
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}
inline float lerp(float a, float b, float t) { return a + (b - a) * t; }

// Colour stops along 0..1.
struct Ramp {
    struct Stop { float t; Color c; };
    std::vector<Stop> stops;
    Color at(float t) const;
};

struct Image {
    int w = 0, h = 0;
    std::vector<Color> px;
    Color &at(int x, int y) { return px[size_t(y) * w + x]; }
    const Color &at(int x, int y) const { return px[size_t(y) * w + x]; }
};

Image makeImage(int w, int h, Color fill);

// Source-over with the colour's alpha times coverage; additive adds colour x alpha x coverage.
inline void blendOver(Color &d, Color s, float cov)
{
    float a = s.a * cov;
    if (a <= 0.0f)
        return;
    float outA = a + d.a * (1.0f - a);
    if (outA <= 0.0f) {
        d = {0, 0, 0, 0};
        return;
    }
    float k = d.a * (1.0f - a);
    d.r = (s.r * a + d.r * k) / outA;
    d.g = (s.g * a + d.g * k) / outA;
    d.b = (s.b * a + d.b * k) / outA;
    d.a = outA;
}
inline void blendAdd(Color &d, Color s, float cov)
{
    float a = s.a * cov;
    d.r += s.r * a;
    d.g += s.g * a;
    d.b += s.b * a;
}

enum BlendMode { BLEND_OVER, BLEND_ADD, BLEND_MAX_ALPHA };

// Paints every pixel of the box [x0,x1)x[y0,y1) (clipped) whose coverage is above zero.
// sdf(px, py) gives the signed distance in pixels at the pixel centre (negative inside);
// paint(px, py) the colour there.
template <class Sdf, class Paint>
void fillShape(Image &img, float x0, float y0, float x1, float y1, Sdf sdf, Paint paint,
               BlendMode mode = BLEND_OVER, float softness = 1.0f)
{
    int ix0 = std::max(0, int(std::floor(x0)) - 2), iy0 = std::max(0, int(std::floor(y0)) - 2);
    int ix1 = std::min(img.w, int(std::ceil(x1)) + 2), iy1 = std::min(img.h, int(std::ceil(y1)) + 2);
    for (int y = iy0; y < iy1; y++)
        for (int x = ix0; x < ix1; x++) {
            float px = x + 0.5f, py = y + 0.5f;
            float cov = clamp01(0.5f - sdf(px, py) / softness);
            if (cov <= 0.0f)
                continue;
            Color c = paint(px, py);
            Color &d = img.at(x, y);
            if (mode == BLEND_OVER)
                blendOver(d, c, cov);
            else if (mode == BLEND_ADD)
                blendAdd(d, c, cov);
            else {
                d.r = c.r; d.g = c.g; d.b = c.b;
                d.a = std::max(d.a, c.a * cov);
            }
        }
}

// Every pixel through a function (x, y, current) -> new colour.
template <class F>
void shadeAll(Image &img, F f)
{
    for (int y = 0; y < img.h; y++)
        for (int x = 0; x < img.w; x++)
            img.at(x, y) = f(x + 0.5f, y + 0.5f, img.at(x, y));
}

// Signed distances.
inline float sdCircle(float px, float py, float cx, float cy, float r)
{
    return std::hypot(px - cx, py - cy) - r;
}
float sdBox(float px, float py, float cx, float cy, float hw, float hh, float radius = 0.0f);
float sdSegment(float px, float py, float ax, float ay, float bx, float by);
// Polygon given as x,y pairs; inside by even-odd rule.
float sdPolygon(float px, float py, const std::vector<float> &xy);

// Noise in 0..1. Period makes it tile (in lattice cells); seed picks an independent field.
float hash2(int x, int y, uint32_t seed);
float valueNoise(float x, float y, int periodX, int periodY, uint32_t seed);
float fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed, float gain = 0.5f);

// A single-channel coverage map.
struct Mask {
    int w = 0, h = 0;
    std::vector<float> v;
    float &at(int x, int y) { return v[size_t(y) * w + x]; }
    float at(int x, int y) const { return v[size_t(y) * w + x]; }
    float sample(int x, int y) const { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : at(x, y); }
};
Mask makeMask(int w, int h);
// Gaussian-like blur by three box passes; wrap makes it seamless for tiling images.
void blurMask(Mask &m, float radius, bool wrap = false);
void blurImage(Image &img, float radius, bool wrap = false);
Mask alphaOf(const Image &img);

// Composites a mask at (ox, oy) with a paint function of image coordinates.
template <class Paint>
void paintMask(Image &img, const Mask &m, int ox, int oy, Paint paint, BlendMode mode = BLEND_OVER, float gain = 1.0f)
{
    for (int y = 0; y < m.h; y++) {
        int iy = y + oy;
        if (iy < 0 || iy >= img.h)
            continue;
        for (int x = 0; x < m.w; x++) {
            int ix = x + ox;
            if (ix < 0 || ix >= img.w)
                continue;
            float cov = std::min(1.0f, m.at(x, y) * gain);
            if (cov <= 0.0f)
                continue;
            Color c = paint(ix + 0.5f, iy + 0.5f);
            if (mode == BLEND_ADD)
                blendAdd(img.at(ix, iy), c, cov);
            else
                blendOver(img.at(ix, iy), c, cov);
        }
    }
}
inline void paintMaskColor(Image &img, const Mask &m, int ox, int oy, Color c, BlendMode mode = BLEND_OVER, float gain = 1.0f)
{
    paintMask(img, m, ox, oy, [c](float, float) { return c; }, mode, gain);
}

// FreeType text. Faces are looked up by file name in the font folder given to fontsInit.
enum FontId { FONT_SANS, FONT_SANS_BOLD, FONT_SANS_BOLD_OBLIQUE, FONT_MONO, FONT_MONO_BOLD,
              FONT_MONO_BOLD_OBLIQUE, FONT_CONDENSED_BOLD, FONT_CONDENSED_BOLD_OBLIQUE, FONT_COUNT };
bool fontsInit(const char *folder);
void fontsShutdown();

struct TextMetrics {
    float width;   // pen advance of the whole string in pixels
    float ascent;  // above the baseline
    float descent; // below the baseline (positive)
};
// Renders text into a mask with the baseline at y = baselineY and the pen starting at x = penX.
// tracking adds space between letters in pixels.
void drawText(Mask &m, FontId font, float pixelSize, const std::string &text, float penX, float baselineY,
              float tracking = 0.0f);
TextMetrics measureText(FontId font, float pixelSize, const std::string &text, float tracking = 0.0f);
// One glyph's bitmap and its placement, for the font sheet.
struct GlyphBitmap {
    int w = 0, h = 0, left = 0, top = 0; // top: rows above the baseline
    float advance = 0;
    std::vector<uint8_t> gray;
};
GlyphBitmap renderGlyph(FontId font, float pixelSize, unsigned code);

// Files. BMP is written 24-bit bottom-up over black; TGA 24- or 32-bit bottom-up.
void toBytes(const Image &img, int channels, std::vector<uint8_t> &out, bool bottomUp);
std::vector<uint8_t> encodeBmp(const Image &img);
std::vector<uint8_t> encodeTga(const Image &img, bool alpha);
bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes);
