// The world and car textures, painted in code and written as 24-bit bitmaps. They are kept in
// memory as well so the picture renderer can show the models with them.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb; // top row first
    // Self-lit textures (lit windows, neon, lamp heads): how brightly the materials using them
    // shine by themselves (their emissive colour, grey), and where: one byte a texel, written as
    // the alpha channel of a TGA file. An empty mask lets the whole texture shine.
    float glow = 0;
    std::vector<uint8_t> glowMask;
    void create(int w, int h, uint8_t r, uint8_t g, uint8_t b);
    uint8_t *at(int x, int y) { return &rgb[size_t((y * width + x) * 3)]; }
    const uint8_t *at(int x, int y) const { return &rgb[size_t((y * width + x) * 3)]; }
    void set(int x, int y, int r, int g, int b);
    void fillRect(int x0, int y0, int x1, int y1, int r, int g, int b);
};

// Deterministic hash noise in [0, 1).
float hashNoise(uint32_t a, uint32_t b = 0, uint32_t c = 0);

// name -> image, the game path of each is "base/textures/world/<name>.bmp", or ".tga" for an
// image with a glow mask. Paint a texture before asking for its path.
extern std::map<std::string, Image> worldTextures;
std::string worldTexturePath(const std::string &name);
// The emissive strength of the materials showing that texture (0 for most).
float worldTextureGlow(const std::string &name);

void paintWorldTextures();
bool writeBmp(const std::string &path, const Image &img);
// 32-bit TGA, bottom row first like the bitmaps, the glow mask as alpha.
bool writeTga(const std::string &path, const Image &img);
bool writeWorldTextures(const std::string &baseDir);
