// Helpers shared by several painters: text masks, glows and the city skyline.
#include "gen2d.h"

Mask textMask(int w, int h, FontId font, float size, const std::string &text, float x, float baseline,
              float tracking)
{
    Mask m = makeMask(w, h);
    drawText(m, font, size, text, x, baseline, tracking);
    return m;
}

Mask textMaskCentred(int w, int h, FontId font, float size, const std::string &text, float cx, float baseline,
                     float tracking)
{
    TextMetrics tm = measureText(font, size, text, tracking);
    return textMask(w, h, font, size, text, cx - tm.width * 0.5f, baseline, tracking);
}

void glowMask(Image &img, const Mask &m, float radius, Color c, float gain)
{
    Mask g = m;
    blurMask(g, radius);
    paintMaskColor(img, g, 0, 0, c, BLEND_ADD, gain);
}

Skyline makeSkyline(int width, float maxHeight, float minHeight, uint32_t seed, float windowScale)
{
    Skyline s;
    s.width = width;
    s.maxHeight = maxHeight;
    s.seed = seed;
    s.windowScale = windowScale;
    s.height.assign(width, 0.0f);
    s.building.assign(width, 0);
    int x = 0, b = 0;
    // Buildings are laid out left to right; the last one is cut at the width so the band tiles.
    while (x < width) {
        float r = hash2(b, 1, seed), r2 = hash2(b, 2, seed), r3 = hash2(b, 3, seed);
        int bw = int((18 + r * 46) * windowScale);
        // Towers cluster in a downtown around the middle of each tile; low blocks elsewhere.
        float centre = std::cos((x + bw * 0.5f) / width * 2 * 3.14159265f * 2.0f) * 0.5f + 0.5f;
        float h = minHeight + (maxHeight - minHeight) * (0.15f + 0.55f * r2 * r2 + 0.3f * centre * r3);
        if (x + bw > width)
            bw = width - x;
        bool stepped = hash2(b, 4, seed) > 0.6f;
        for (int i = 0; i < bw; i++) {
            float hh = h;
            if (stepped && (i < bw / 5 || i >= bw - bw / 5))
                hh = h * 0.86f; // set-back upper floors
            s.height[x + i] = hh;
            s.building[x + i] = b;
        }
        x += bw;
        b++;
    }
    return s;
}

Color skylineFace(const Skyline &s, int x, float up)
{
    int b = s.building[x];
    float tone = hash2(b, 7, s.seed);
    Color wall = mix(hexColor(0x0b1020), hexColor(0x151c30), tone);
    // Windows: a grid per building with its own spacing; most dark, some lit warm or cool.
    float ws = s.windowScale;
    float cw = (4.0f + std::floor(hash2(b, 8, s.seed) * 3.0f)) * ws, ch = (5.0f + std::floor(hash2(b, 9, s.seed) * 2.0f)) * ws;
    int col = int(std::floor(x / cw)), row = int(std::floor(up / ch));
    float fx = x / cw - col, fy = up / ch - row;
    bool inWindow = fx > 0.25f && fx < 0.8f && fy > 0.3f && fy < 0.75f && up > ch * 1.5f;
    if (!inWindow || up > s.height[x] - ch * 0.8f)
        return wall;
    float lit = hash2(col * 3 + b * 131, row, s.seed + 17u);
    float litShare = 0.22f + 0.3f * hash2(b, 10, s.seed);
    if (lit > litShare)
        return mix(wall, hexColor(0x1a2440), 0.6f);
    float kind = hash2(col, row + b * 57, s.seed + 29u);
    Color c = kind < 0.55f ? pal::sodiumPale : (kind < 0.85f ? pal::lampWhite : hexColor(0x6fa8ff));
    return scaled(c, 0.55f + 0.45f * hash2(col, row, s.seed + 41u));
}

void blitScaled(Image &dst, const Image &src, float x, float y, float w, float h, float alpha)
{
    int x0 = std::max(0, int(x)), y0 = std::max(0, int(y));
    int x1 = std::min(dst.w, int(std::ceil(x + w))), y1 = std::min(dst.h, int(std::ceil(y + h)));
    for (int py = y0; py < y1; py++)
        for (int px = x0; px < x1; px++) {
            float sx = (px + 0.5f - x) / w * src.w - 0.5f, sy = (py + 0.5f - y) / h * src.h - 0.5f;
            if (sx < -0.5f || sy < -0.5f || sx > src.w - 0.5f || sy > src.h - 0.5f)
                continue;
            int ix = int(std::floor(sx)), iy = int(std::floor(sy));
            float fx = sx - ix, fy = sy - iy;
            Color acc{0, 0, 0, 0};
            for (int k = 0; k < 4; k++) {
                int cx = std::clamp(ix + (k & 1), 0, src.w - 1), cy = std::clamp(iy + (k >> 1), 0, src.h - 1);
                float wgt = ((k & 1) ? fx : 1 - fx) * ((k >> 1) ? fy : 1 - fy);
                const Color &c = src.at(cx, cy);
                acc.r += c.r * c.a * wgt;
                acc.g += c.g * c.a * wgt;
                acc.b += c.b * c.a * wgt;
                acc.a += c.a * wgt;
            }
            if (acc.a <= 0)
                continue;
            blendOver(dst.at(px, py), {acc.r / acc.a, acc.g / acc.a, acc.b / acc.a, 1.0f}, acc.a * alpha);
        }
}
