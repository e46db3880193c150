// Saving set entries and the contact sheet that shows them all with their numbers and roles.
#include "gen2d.h"
#include "platform/png_write.h"

#include <cstdio>
#include <mutex>

std::string gen2dBase;
std::string gen2dPreviewDir;

namespace {

struct Thumb {
    std::string label;
    std::string role;
    int order;
    int w, h;                  // source size
    bool alpha;
    std::vector<uint8_t> rgb;  // thumbW x thumbH over a checkerboard
};
std::vector<Thumb> thumbs; // in any order while painting; sorted by entry for the sheet
std::mutex thumbsLock;

const int thumbSize = 128;

// Box-filtered thumbnail that keeps the aspect ratio, shown over a checkerboard when it has alpha.
Thumb makeThumb(const Image &img, bool alpha)
{
    Thumb t;
    t.w = img.w;
    t.h = img.h;
    t.alpha = alpha;
    t.rgb.assign(size_t(thumbSize) * thumbSize * 3, 24);
    float scale = float(thumbSize) / std::max(img.w, img.h);
    int tw = std::max(1, int(img.w * scale)), th = std::max(1, int(img.h * scale));
    int ox = (thumbSize - tw) / 2, oy = (thumbSize - th) / 2;
    for (int y = 0; y < th; y++)
        for (int x = 0; x < tw; x++) {
            int sx0 = x * img.w / tw, sx1 = std::max(sx0 + 1, (x + 1) * img.w / tw);
            int sy0 = y * img.h / th, sy1 = std::max(sy0 + 1, (y + 1) * img.h / th);
            float r = 0, g = 0, b = 0, a = 0;
            int n = 0;
            for (int sy = sy0; sy < sy1; sy++)
                for (int sx = sx0; sx < sx1; sx++) {
                    const Color &c = img.at(sx, sy);
                    float ca = alpha ? clamp01(c.a) : 1.0f;
                    float k = alpha ? ca : clamp01(c.a);
                    r += clamp01(c.r) * k;
                    g += clamp01(c.g) * k;
                    b += clamp01(c.b) * k;
                    a += ca;
                    n++;
                }
            r /= n, g /= n, b /= n, a /= n;
            float bg = 0;
            if (alpha)
                bg = (((x / 8) + (y / 8)) & 1) ? 0.42f : 0.30f;
            uint8_t *p = &t.rgb[(size_t(oy + y) * thumbSize + ox + x) * 3];
            p[0] = uint8_t(std::lround(clamp01(r + bg * (1 - a)) * 255));
            p[1] = uint8_t(std::lround(clamp01(g + bg * (1 - a)) * 255));
            p[2] = uint8_t(std::lround(clamp01(b + bg * (1 - a)) * 255));
        }
    return t;
}

// Full-size PNG of a picture, laid over a checkerboard when it has alpha, for looking at the art.
void writePreview(const std::string &path, const Image &img, bool alpha)
{
    std::vector<uint8_t> rgb(size_t(img.w) * img.h * 3);
    for (int y = 0; y < img.h; y++)
        for (int x = 0; x < img.w; x++) {
            const Color &c = img.at(x, y);
            float a = clamp01(c.a);
            float bg = alpha ? ((((x / 16) + (y / 16)) & 1) ? 0.35f : 0.22f) : 0.0f;
            uint8_t *p = &rgb[(size_t(y) * img.w + x) * 3];
            p[0] = uint8_t(std::lround(clamp01(c.r * a + bg * (1 - a)) * 255));
            p[1] = uint8_t(std::lround(clamp01(c.g * a + bg * (1 - a)) * 255));
            p[2] = uint8_t(std::lround(clamp01(c.b * a + bg * (1 - a)) * 255));
        }
    Sys_WritePng(path.c_str(), img.w, img.h, 3, rgb.data());
}

bool save(const char *ext, int entry, const std::vector<uint8_t> &bytes, const Image &img, bool alpha,
          const char *role)
{
    char name[64];
    snprintf(name, sizeof name, "/textures/tex%02d.%s", entry, ext);
    if (!writeFile(gen2dBase + name, bytes))
        return false;
    if (!gen2dPreviewDir.empty())
        writePreview(gen2dPreviewDir + name + ".png", img, alpha);
    Thumb t = makeThumb(img, alpha);
    char label[64];
    snprintf(label, sizeof label, "%s %02d  %dX%d", ext[0] == 'b' ? "BMP" : "TGA", entry, img.w, img.h);
    t.label = label;
    t.order = (ext[0] == 'b' ? 0 : 100) + entry;
    t.role = role;
    std::lock_guard<std::mutex> hold(thumbsLock);
    thumbs.push_back(std::move(t));
    return true;
}

// A 5 x 7 pixel font for the sheet's labels: seven rows of five bits per character.
struct MiniGlyph {
    char c;
    uint8_t rows[7];
};
const MiniGlyph miniFont[] = {
    {'A', {14, 17, 17, 31, 17, 17, 17}}, {'B', {30, 17, 17, 30, 17, 17, 30}}, {'C', {14, 17, 16, 16, 16, 17, 14}},
    {'D', {30, 17, 17, 17, 17, 17, 30}}, {'E', {31, 16, 16, 30, 16, 16, 31}}, {'F', {31, 16, 16, 30, 16, 16, 16}},
    {'G', {14, 17, 16, 23, 17, 17, 15}}, {'H', {17, 17, 17, 31, 17, 17, 17}}, {'I', {14, 4, 4, 4, 4, 4, 14}},
    {'J', {7, 2, 2, 2, 2, 18, 12}},      {'K', {17, 18, 20, 24, 20, 18, 17}}, {'L', {16, 16, 16, 16, 16, 16, 31}},
    {'M', {17, 27, 21, 21, 17, 17, 17}}, {'N', {17, 17, 25, 21, 19, 17, 17}}, {'O', {14, 17, 17, 17, 17, 17, 14}},
    {'P', {30, 17, 17, 30, 16, 16, 16}}, {'Q', {14, 17, 17, 17, 21, 18, 13}}, {'R', {30, 17, 17, 30, 20, 18, 17}},
    {'S', {15, 16, 16, 14, 1, 1, 30}},   {'T', {31, 4, 4, 4, 4, 4, 4}},       {'U', {17, 17, 17, 17, 17, 17, 14}},
    {'V', {17, 17, 17, 17, 17, 10, 4}},  {'W', {17, 17, 17, 21, 21, 21, 10}}, {'X', {17, 17, 10, 4, 10, 17, 17}},
    {'Y', {17, 17, 10, 4, 4, 4, 4}},     {'Z', {31, 1, 2, 4, 8, 16, 31}},     {'0', {14, 17, 19, 21, 25, 17, 14}},
    {'1', {4, 12, 4, 4, 4, 4, 14}},      {'2', {14, 17, 1, 2, 4, 8, 31}},     {'3', {31, 2, 4, 2, 1, 17, 14}},
    {'4', {2, 6, 10, 18, 31, 2, 2}},     {'5', {31, 16, 30, 1, 1, 17, 14}},   {'6', {6, 8, 16, 30, 17, 17, 14}},
    {'7', {31, 1, 2, 4, 8, 8, 8}},       {'8', {14, 17, 17, 14, 17, 17, 14}}, {'9', {14, 17, 17, 15, 1, 2, 12}},
    {'-', {0, 0, 0, 31, 0, 0, 0}},       {'.', {0, 0, 0, 0, 0, 12, 12}},      {':', {0, 12, 12, 0, 12, 12, 0}},
    {'/', {1, 1, 2, 4, 8, 16, 16}},      {'(', {2, 4, 8, 8, 8, 4, 2}},        {')', {8, 4, 2, 2, 2, 4, 8}},
    {'+', {0, 4, 4, 31, 4, 4, 0}},       {',', {0, 0, 0, 0, 12, 4, 8}},       {'!', {4, 4, 4, 4, 4, 0, 4}},
    {'=', {0, 0, 31, 0, 31, 0, 0}},      {'&', {12, 18, 20, 8, 21, 18, 13}},
};

const MiniGlyph *findMini(char c)
{
    if (c >= 'a' && c <= 'z')
        c = char(c - 'a' + 'A');
    for (const MiniGlyph &g : miniFont)
        if (g.c == c)
            return &g;
    return nullptr;
}

void miniText(std::vector<uint8_t> &rgb, int W, int H, int x, int y, const std::string &s, uint8_t r, uint8_t g,
              uint8_t b)
{
    for (char ch : s) {
        if (const MiniGlyph *gl = findMini(ch))
            for (int row = 0; row < 7; row++)
                for (int col = 0; col < 5; col++)
                    if (gl->rows[row] & (16 >> col)) {
                        int px = x + col, py = y + row;
                        if (px >= 0 && py >= 0 && px < W && py < H) {
                            uint8_t *p = &rgb[(size_t(py) * W + px) * 3];
                            p[0] = r, p[1] = g, p[2] = b;
                        }
                    }
        x += 6;
    }
}

} // namespace

bool saveSetBmp(int entry, const Image &img, const char *role)
{
    return save("bmp", entry, encodeBmp(img), img, false, role);
}

bool saveSetTga(int entry, const Image &img, bool alpha, const char *role)
{
    return save("tga", entry, encodeTga(img, alpha), img, alpha, role);
}

bool writeContactSheet(const std::string &pngPath)
{
    const int cols = 10, cellW = 150, cellH = thumbSize + 30, margin = 11;
    std::stable_sort(thumbs.begin(), thumbs.end(), [](const Thumb &a, const Thumb &b) { return a.order < b.order; });
    int rows = int((thumbs.size() + cols - 1) / cols);
    int W = cols * cellW + margin, H = rows * cellH + margin + 20;
    std::vector<uint8_t> rgb(size_t(W) * H * 3, 10);
    miniText(rgb, W, H, margin, 6, "COBALT OVERDRIVE - 2D TEXTURES (INDEX, SIZE, ROLE)", 120, 200, 255);
    for (size_t i = 0; i < thumbs.size(); i++) {
        const Thumb &t = thumbs[i];
        int cx = margin + int(i % cols) * cellW, cy = margin + 20 + int(i / cols) * cellH;
        for (int y = 0; y < thumbSize; y++)
            for (int x = 0; x < thumbSize; x++)
                for (int c = 0; c < 3; c++)
                    rgb[(size_t(cy + y) * W + cx + x) * 3 + c] = t.rgb[(size_t(y) * thumbSize + x) * 3 + c];
        miniText(rgb, W, H, cx, cy + thumbSize + 4, t.label, 255, 190, 90);
        miniText(rgb, W, H, cx, cy + thumbSize + 14, t.role.substr(0, 23), 210, 215, 225);
    }
    return Sys_WritePng(pngPath.c_str(), W, H, 3, rgb.data());
}
