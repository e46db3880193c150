#include "textures.h"
#include "mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

std::map<std::string, Image> worldTextures;

void Image::create(int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    width = w;
    height = h;
    glow = 0;
    glowMask.clear();
    rgb.assign(size_t(w * h * 3), 0);
    for (int i = 0; i < w * h; i++) {
        rgb[size_t(i * 3)] = r;
        rgb[size_t(i * 3 + 1)] = g;
        rgb[size_t(i * 3 + 2)] = b;
    }
}

static int clamp255(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

void Image::set(int x, int y, int r, int g, int b)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    uint8_t *p = at(x, y);
    p[0] = uint8_t(clamp255(r));
    p[1] = uint8_t(clamp255(g));
    p[2] = uint8_t(clamp255(b));
}

void Image::fillRect(int x0, int y0, int x1, int y1, int r, int g, int b)
{
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            set(x, y, r, g, b);
}

float hashNoise(uint32_t a, uint32_t b, uint32_t c)
{
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return float(h & 0xFFFFFF) / float(0x1000000);
}

static bool hasGlowMask(const std::string &name)
{
    auto it = worldTextures.find(name);
    return it != worldTextures.end() && !it->second.glowMask.empty();
}

// The file under the base directory.
static std::string worldTextureFile(const std::string &name)
{
    return "textures/world/" + name + (hasGlowMask(name) ? ".tga" : ".bmp");
}

std::string worldTexturePath(const std::string &name) { return "base/" + worldTextureFile(name); }

float worldTextureGlow(const std::string &name)
{
    auto it = worldTextures.find(name);
    return it == worldTextures.end() ? 0.0f : it->second.glow;
}

bool writeBmp(const std::string &path, const Image &img)
{
    int rowBytes = (img.width * 3 + 3) & ~3;
    uint32_t dataSize = uint32_t(rowBytes * img.height);
    std::vector<uint8_t> o(54 + dataSize, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++)
            o[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    o[0] = 'B';
    o[1] = 'M';
    put32(2, 54 + dataSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(img.width));
    put32(22, uint32_t(img.height));
    o[26] = 1;
    o[28] = 24;
    put32(34, dataSize);
    put32(38, 2835);
    put32(42, 2835);
    for (int y = 0; y < img.height; y++) {
        // Bitmaps are stored bottom row first, in blue-green-red order.
        uint8_t *row = &o[54 + size_t(rowBytes * (img.height - 1 - y))];
        for (int x = 0; x < img.width; x++) {
            const uint8_t *p = img.at(x, y);
            row[x * 3] = p[2];
            row[x * 3 + 1] = p[1];
            row[x * 3 + 2] = p[0];
        }
    }
    return writeFileBytes(path, o);
}

bool writeTga(const std::string &path, const Image &img)
{
    std::vector<uint8_t> o(18 + size_t(img.width * img.height * 4), 0);
    o[2] = 2; // uncompressed true colour
    o[12] = uint8_t(img.width);
    o[13] = uint8_t(img.width >> 8);
    o[14] = uint8_t(img.height);
    o[15] = uint8_t(img.height >> 8);
    o[16] = 32;
    o[17] = 8; // alpha bits, origin bottom left
    size_t at = 18;
    for (int y = img.height - 1; y >= 0; y--)
        for (int x = 0; x < img.width; x++) {
            const uint8_t *p = img.at(x, y);
            o[at++] = p[2];
            o[at++] = p[1];
            o[at++] = p[0];
            o[at++] = img.glowMask[size_t(y * img.width + x)];
        }
    return writeFileBytes(path, o);
}

bool writeWorldTextures(const std::string &baseDir)
{
    bool ok = true;
    for (auto &entry : worldTextures) {
        const std::string path = baseDir + "/" + worldTextureFile(entry.first);
        ok = (entry.second.glowMask.empty() ? writeBmp(path, entry.second) : writeTga(path, entry.second)) && ok;
    }
    return ok;
}

// A five-by-seven capital font for the signs; only the letters the signs use.
static const char *glyph(char c)
{
    switch (c) {
    case 'A': return " ### #   ##   #######   ##   ##   #";
    case 'B': return "#### #   ##   ##### #   ##   ##### ";
    case 'C': return " ### #   ##    #    #    #   # ### ";
    case 'D': return "#### #   ##   ##   ##   ##   ##### ";
    case 'E': return "######    #    #### #    #    #####";
    case 'F': return "######    #    #### #    #    #    ";
    case 'G': return " ### #   ##    # ####   ##   # ####";
    case 'H': return "#   ##   ##   #######   ##   ##   #";
    case 'I': return " ###   #    #    #    #    #   ### ";
    case 'K': return "#   ##  # # #  ##   # #  #  # #   #";
    case 'L': return "#    #    #    #    #    #    #####";
    case 'M': return "#   ### ### # ##   ##   ##   ##   #";
    case 'N': return "#   ###  ## # ##  ###   ##   ##   #";
    case 'O': return " ### #   ##   ##   ##   ##   # ### ";
    case 'P': return "#### #   ##   ##### #    #    #    ";
    case 'R': return "#### #   ##   ##### # #  #  # #   #";
    case 'S': return " ### #   ##     ###     ##   # ### ";
    case 'T': return "#####  #    #    #    #    #    #  ";
    case 'U': return "#   ##   ##   ##   ##   ##   # ### ";
    case 'V': return "#   ##   ##   ##   ##   # # #   #  ";
    case 'X': return "#   ##   # # #   #   # # #   ##   #";
    case 'Y': return "#   ##   # # #   #    #    #    #  ";
    case 'Z': return "#####    #   #   #   #   #    #####";
    case '0': return " ### #   ##  ### # ###  ##   # ### ";
    case '1': return "  #   ##    #    #    #    #   ### ";
    case '2': return " ### #   #    #  ##  #   #    #####";
    case '3': return " ### #   #    #  ##     ##   # ### ";
    case '4': return "   #   ##  # # #  #####   #    #   ";
    case '5': return "######    ####     #    ##   # ### ";
    case '6': return " ### #    #    #### #   ##   # ### ";
    case '7': return "#####    #   #   #   #    #    #   ";
    case '8': return " ### #   ##   # ### #   ##   # ### ";
    case '9': return " ### #   ##   # ####    #    # ### ";
    default: return nullptr;
    }
}

// Draws text with each font cell scale x scale pixels; glow spreads the colour around the strokes.
static void drawText(Image &img, const char *text, int x, int y, int scale, int r, int g, int b, int glow)
{
    for (int i = 0; text[i]; i++) {
        const char *gl = glyph(text[i]);
        if (gl && std::strlen(gl) == 35) {
            for (int row = 0; row < 7; row++)
                for (int col = 0; col < 5; col++)
                    if (gl[row * 5 + col] == '#') {
                        int px = x + (i * 6 + col) * scale, py = y + row * scale;
                        for (int dy = -glow; dy < scale + glow; dy++)
                            for (int dx = -glow; dx < scale + glow; dx++) {
                                int qx = px + dx, qy = py + dy;
                                if (qx < 0 || qy < 0 || qx >= img.width || qy >= img.height)
                                    continue;
                                bool core = dx >= 0 && dy >= 0 && dx < scale && dy < scale;
                                uint8_t *p = img.at(qx, qy);
                                if (core) {
                                    p[0] = uint8_t(clamp255((r + 255) / 2));
                                    p[1] = uint8_t(clamp255((g + 255) / 2));
                                    p[2] = uint8_t(clamp255((b + 255) / 2));
                                } else {
                                    p[0] = uint8_t(std::max<int>(p[0], r / 3));
                                    p[1] = uint8_t(std::max<int>(p[1], g / 3));
                                    p[2] = uint8_t(std::max<int>(p[2], b / 3));
                                }
                            }
                    }
        }
    }
}

static void paintRoad()
{
    Image img;
    img.create(128, 256, 0, 0, 0);
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 128; x++) {
            float n = hashNoise(uint32_t(x), uint32_t(y), 1) * 22 + hashNoise(uint32_t(x / 4), uint32_t(y / 4), 2) * 10;
            int v = 44 + int(n);
            img.set(x, y, v, v, v + 3);
        }
    // Solid edge lines, dashed lane lines (painted half of every tile), worn a little.
    auto paint = [&](int x0, int x1, int y0, int y1, int r, int g, int b) {
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) {
                float wear = hashNoise(uint32_t(x), uint32_t(y), 3);
                if (wear < 0.85f)
                    img.set(x, y, r - int(wear * 30), g - int(wear * 30), b - int(wear * 30));
            }
    };
    paint(5, 8, 0, 256, 225, 225, 215);
    paint(120, 123, 0, 256, 225, 225, 215);
    paint(33, 35, 0, 128, 215, 215, 205);
    paint(93, 95, 0, 128, 215, 215, 205);
    paint(61, 63, 0, 256, 225, 180, 60);
    paint(65, 67, 0, 256, 225, 180, 60);
    worldTextures["road"] = img;
}

static void paintSimple()
{
    Image img;
    // Pavement slabs with joints.
    img.create(128, 128, 0, 0, 0);
    for (int y = 0; y < 128; y++)
        for (int x = 0; x < 128; x++) {
            int tile = (x / 32) + (y / 32) * 4;
            int v = 92 + int(hashNoise(uint32_t(tile), 9) * 18) + int(hashNoise(uint32_t(x), uint32_t(y), 4) * 14);
            if (x % 32 == 0 || y % 32 == 0)
                v = 50;
            img.set(x, y, v, v - 2, v - 6);
        }
    worldTextures["pavement"] = img;

    // Concrete barrier with a red and white band along its top.
    img.create(128, 64, 0, 0, 0);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 128; x++) {
            int v = 120 + int(hashNoise(uint32_t(x), uint32_t(y), 5) * 25);
            if (y < 18) {
                bool red = ((x + y) / 16) % 2 == 0;
                img.set(x, y, red ? 200 : 230, red ? 30 : 230, red ? 30 : 230);
            } else if (y == 18 || y == 19) {
                img.set(x, y, 40, 40, 40);
            } else {
                img.set(x, y, v, v, v - 4);
            }
        }
    worldTextures["barrier"] = img;

    // Closed side street: red and white chevrons.
    img.create(128, 64, 0, 0, 0);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 128; x++) {
            bool red = ((x + (y < 32 ? y : 63 - y)) / 16) % 2 == 0;
            img.set(x, y, red ? 210 : 240, red ? 20 : 240, red ? 20 : 240);
        }
    worldTextures["closure"] = img;

    img.create(64, 64, 0, 0, 0);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            int v = 36 + int(hashNoise(uint32_t(x), uint32_t(y), 6) * 20);
            img.set(x, y, v, v, v + 2);
        }
    worldTextures["roof"] = img;

    img.create(128, 128, 0, 0, 0);
    for (int y = 0; y < 128; y++)
        for (int x = 0; x < 128; x++) {
            int v = 30 + int(hashNoise(uint32_t(x / 2), uint32_t(y / 2), 7) * 22);
            img.set(x, y, v, v + 2, v);
        }
    worldTextures["ground"] = img;

    img.create(32, 32, 0, 0, 0);
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            int v = 70 + int(hashNoise(uint32_t(x), uint32_t(y), 8) * 20) + (x % 8 == 0 ? 20 : 0);
            img.set(x, y, v, v + 4, v + 8);
        }
    worldTextures["metal"] = img;

    img.create(32, 32, 255, 250, 230);
    img.glow = 1.6f; // bright enough to bloom
    worldTextures["lamphead"] = img;

    img.create(32, 32, 235, 235, 225);
    worldTextures["roadpaint"] = img;

    img.create(64, 64, 0, 0, 0);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            bool white = ((x / 8) + (y / 8)) % 2 == 0;
            img.set(x, y, white ? 235 : 20, white ? 235 : 20, white ? 235 : 20);
        }
    worldTextures["startline"] = img;

    img.create(256, 64, 12, 14, 30);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 256; x++)
            if (y < 6 || y >= 58) {
                bool white = ((x / 6) + (y / 6)) % 2 == 0;
                img.set(x, y, white ? 230 : 10, white ? 230 : 10, white ? 230 : 10);
            }
    drawText(img, "COBALT", 22, 13, 6, 60, 160, 255, 2);
    worldTextures["banner"] = img;
}

// Facades: four window columns and four floors per tile; each style has its wall, frame and the
// share and colour of windows lit behind.
struct FacadeStyle {
    int wall[3];
    int unlit[3];
    int lit[3];
    float litShare;
    int windowW, windowH; // of a 64 x 64 cell
    bool glass;
};

static void paintFacades()
{
    const FacadeStyle styles[6] = {
        {{96, 52, 40}, {22, 26, 36}, {255, 205, 120}, 0.45f, 30, 36, false},  // brick, warm
        {{104, 104, 98}, {24, 30, 40}, {230, 240, 255}, 0.55f, 40, 34, false}, // concrete, cool office
        {{30, 38, 52}, {34, 46, 64}, {170, 215, 255}, 0.6f, 58, 50, true},     // glass tower
        {{122, 110, 86}, {26, 24, 30}, {255, 225, 150}, 0.4f, 24, 40, false},  // stone, tall windows
        {{60, 66, 74}, {20, 22, 28}, {255, 160, 90}, 0.35f, 44, 26, false},    // dark panels, orange
        {{140, 120, 104}, {28, 30, 34}, {255, 240, 200}, 0.5f, 34, 30, false}, // pale render
    };
    for (int s = 0; s < 6; s++) {
        const FacadeStyle &st = styles[s];
        Image img;
        img.create(256, 256, 0, 0, 0);
        // Only the lit windows shine; the glow stays under the bloom's threshold, so a street
        // of windows reads as lived-in without blooming.
        img.glow = 0.9f;
        img.glowMask.assign(size_t(256 * 256), 0);
        for (int y = 0; y < 256; y++)
            for (int x = 0; x < 256; x++) {
                float n = hashNoise(uint32_t(x), uint32_t(y), uint32_t(20 + s)) * 14 - 7;
                img.set(x, y, st.wall[0] + int(n), st.wall[1] + int(n), st.wall[2] + int(n));
            }
        for (int cy = 0; cy < 4; cy++)
            for (int cx = 0; cx < 4; cx++) {
                int x0 = cx * 64 + (64 - st.windowW) / 2, y0 = cy * 64 + (64 - st.windowH) / 2;
                bool lit = hashNoise(uint32_t(cx), uint32_t(cy), uint32_t(40 + s)) < st.litShare;
                float warmth = hashNoise(uint32_t(cx), uint32_t(cy), uint32_t(50 + s));
                for (int y = y0; y < y0 + st.windowH; y++)
                    for (int x = x0; x < x0 + st.windowW; x++) {
                        bool frame = x == x0 || y == y0 || x == x0 + st.windowW - 1 || y == y0 + st.windowH - 1 ||
                                     (!st.glass && x == x0 + st.windowW / 2);
                        if (frame) {
                            img.set(x, y, 30, 30, 32);
                        } else if (lit) {
                            // Lit rooms: brighter towards the bottom, like a ceiling lamp behind a blind.
                            float f = 0.75f + 0.25f * float(y - y0) / float(st.windowH) + warmth * 0.1f;
                            img.set(x, y, int(st.lit[0] * f), int(st.lit[1] * f), int(st.lit[2] * f));
                            img.glowMask[size_t(y * 256 + x)] = 255;
                        } else {
                            int g = int(float(y - y0) * 0.3f);
                            img.set(x, y, st.unlit[0] + g, st.unlit[1] + g, st.unlit[2] + g);
                        }
                    }
            }
        char name[16];
        std::snprintf(name, sizeof name, "facade%d", s);
        worldTextures[name] = img;
    }
    // Shop fronts for the ground floor: lit windows under a dark fascia.
    Image img;
    img.create(256, 128, 30, 28, 30);
    img.glow = 0.9f;
    img.glowMask.assign(size_t(256 * 128), 0);
    for (int x = 0; x < 256; x++)
        for (int y = 0; y < 128; y++) {
            int seg = x / 64;
            if (y > 36 && y < 122 && (x % 64) > 4 && (x % 64) < 60) {
                float h = hashNoise(uint32_t(seg), 77);
                int r = 200 + int(h * 55), g = 170 + int(h * 60), b = 110 + int(h * 120);
                img.set(x, y, r, g, b);
                img.glowMask[size_t(y * 256 + x)] = 255;
            } else if (y < 30) {
                img.set(x, y, 20 + seg * 10, 24, 40);
            }
        }
    worldTextures["shopfront"] = img;
}

static void paintNeons()
{
    const char *words[6] = {"HOTEL", "BAR", "CAFE", "OPEN 24", "CLUB", "NOODLES"};
    const int colours[6][3] = {{255, 40, 170}, {40, 220, 255}, {255, 120, 30}, {80, 255, 90}, {180, 60, 255},
                               {255, 60, 60}};
    for (int i = 0; i < 6; i++) {
        Image img;
        img.create(256, 64, 6, 6, 10);
        img.glow = 1.8f; // the tubes bloom; their painted halo shines dimmer
        int len = int(std::strlen(words[i]));
        int scale = std::min(6, 240 / (len * 6));
        int w = len * 6 * scale;
        drawText(img, words[i], (256 - w) / 2, (64 - 7 * scale) / 2, scale, colours[i][0], colours[i][1],
                 colours[i][2], 3);
        for (int x = 2; x < 254; x++) {
            img.set(x, 2, colours[i][0], colours[i][1], colours[i][2]);
            img.set(x, 61, colours[i][0], colours[i][1], colours[i][2]);
        }
        char name[16];
        std::snprintf(name, sizeof name, "neon%d", i);
        worldTextures[name] = img;
    }
}

void paintWorldTextures()
{
    paintRoad();
    paintSimple();
    paintFacades();
    paintNeons();
}
