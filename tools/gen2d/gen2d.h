// Shared by the painters of tools/gen2d: where files go and how each finished picture is
// saved and shown on the contact sheet.
#pragma once
#include "canvas.h"
#include "render/texture_names.h"

#include <string>

extern std::string gen2dBase; // ".../base", no trailing slash
extern std::string gen2dPreviewDir; // when set, every picture is also written there as PNG

// Writes base/textures/texNN.bmp (or .tga) and keeps a thumbnail for the contact sheet.
bool saveSetBmp(int entry, const Image &img, const char *role);
bool saveSetTga(int entry, const Image &img, bool alpha, const char *role);
// Writes the contact sheet of everything saved so far.
bool writeContactSheet(const std::string &pngPath);

// The painters, one per family of pictures; each returns false when a file could not be written.
bool paintFont();       // TGA_FONT and TEX_FONT_SHEET
bool paintSky();        // sky box, clouds, skyline band
bool paintHud();        // dial, needle, band, arrow, nitro gauge
bool paintMenus();      // panel, logo, buttons, markers, packets, bars, options, maps
bool paintEffects();    // glow, checkpoint, particles, countdown
bool paintGarage();     // tunnel strip and wall
bool paintLoading();    // the two loading pictures and the backdrop
bool paintMaterials();  // the street material kit in the spare entries
bool writeDataFiles();  // effects/*.eff, menu.inf and career.inf when missing
// Pictures of the game's screens composed from the written files (mockup.cpp).
bool writeMockups(const std::string &dir);

// Helpers shared between painters.
// The night city's colours.
namespace pal {
inline const Color night = hexColor(0x05070f);
inline const Color deepBlue = hexColor(0x0a1430);
inline const Color cobalt = hexColor(0x1f4fd8);
inline const Color cyan = hexColor(0x38d8ff);
inline const Color sodium = hexColor(0xff9a2e);
inline const Color sodiumPale = hexColor(0xffc878);
inline const Color lampWhite = hexColor(0xe8f0ff);
inline const Color magenta = hexColor(0xff2fa8);
inline const Color asphalt = hexColor(0x2a2c31);
inline const Color red = hexColor(0xff3030);
} // namespace pal

// A skyline silhouette: for a tiling width (in pixels) and seed, fills heights[x] (pixels
// above the base) and lets a painter ask for window light at any pixel.
struct Skyline {
    int width = 0;
    float maxHeight = 0;
    std::vector<float> height;  // per column
    std::vector<int> building;  // per column, building index
    uint32_t seed = 0;
    float windowScale = 1.0f;
};
Skyline makeSkyline(int width, float maxHeight, float minHeight, uint32_t seed, float windowScale);
// Colour of the building face at column x, y pixels above the base (inside the silhouette).
Color skylineFace(const Skyline &s, int x, float up);
// Renders text with FreeType into a fresh mask sized to the image.
Mask textMask(int w, int h, FontId font, float size, const std::string &text, float x, float baseline,
              float tracking = 0.0f);
// Centred text: x is the centre.
Mask textMaskCentred(int w, int h, FontId font, float size, const std::string &text, float cx, float baseline,
                     float tracking = 0.0f);
// The game's logo on transparent ground, 512 x 256 (menus.cpp); the loading pictures reuse it.
Image paintLogoImage();
// Draws src scaled into the rectangle (x, y, w, h) of dst (pixels, y down), bilinear, source-over.
void blitScaled(Image &dst, const Image &src, float x, float y, float w, float h, float alpha = 1.0f);
// Adds a soft glow of a mask (blurred copy) in a colour.
void glowMask(Image &img, const Mask &m, float radius, Color c, float gain = 1.0f);

// Maps the game's screen units (y up, origin at the quad's lower left) to texture pixels.
struct UnitFrame {
    int w, h;
    float unitsW, unitsH;
    float sx() const { return w / unitsW; }
    float sy() const { return h / unitsH; }
    float px(float u) const { return u * sx(); }
    float py(float v) const { return h - v * sy(); }
    float u(float px) const { return px / sx(); }
    float v(float py) const { return (h - py) / sy(); }
    float dScale() const { return std::min(sx(), sy()); }
};

// Fills a shape given in units (signed distance in units) over the whole picture.
template <class Sdf, class Paint>
void fillUnits(Image &img, const UnitFrame &f, Sdf sdf, Paint paint, BlendMode mode = BLEND_OVER)
{
    fillShape(img, 0, 0, float(img.w), float(img.h),
              [&](float x, float y) { return sdf(f.u(x), f.v(y)) * f.dScale(); },
              [&](float x, float y) { return paint(f.u(x), f.v(y)); }, mode);
}
template <class Sdf>
Mask unitsMask(const UnitFrame &f, Sdf sdf)
{
    Image tmp = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    fillUnits(tmp, f, sdf, [](float, float) { return rgb(1, 1, 1); });
    return alphaOf(tmp);
}

// The same limited to the unit box [u0,u1] x [v0,v1] (plus a margin), for small shapes.
template <class Sdf, class Paint>
void fillUnitsBox(Image &img, const UnitFrame &f, float u0, float v0, float u1, float v1, Sdf sdf, Paint paint,
                  BlendMode mode = BLEND_OVER)
{
    fillShape(img, f.px(u0) - 2, f.py(v1) - 2, f.px(u1) + 2, f.py(v0) + 2,
              [&](float x, float y) { return sdf(f.u(x), f.v(y)) * f.dScale(); },
              [&](float x, float y) { return paint(f.u(x), f.v(y)); }, mode);
}
template <class Sdf>
Mask unitsMaskBox(const UnitFrame &f, float u0, float v0, float u1, float v1, Sdf sdf)
{
    Image tmp = makeImage(f.w, f.h, rgb(0, 0, 0, 0));
    fillUnitsBox(tmp, f, u0, v0, u1, v1, sdf, [](float, float) { return rgb(1, 1, 1); });
    return alphaOf(tmp);
}
