// The ways the game turns an image into a GL texture (and back), and the three numbered texture
// sets.
#pragma once
#include "formats/images.h"
#include "render/gl_ext.h"
#include "render/texture_names.h"

#include <vector>

// Mipmapped textures for model materials; 0 on failure.
GLuint loadBmpTexture(const char *fileName);
GLuint loadTgaTexture(const char *fileName);

// A texture of one texel of one colour, nearest-filtered, left bound: a surface with no picture
// of its own is drawn through it, so a program that samples its texture unit sees that colour.
GLuint solidTexture(unsigned char r, unsigned char g, unsigned char b, unsigned char a = 255);
// One white texel, made once: what untextured meshes and quads are drawn through under a program,
// which samples its texture unit whether or not GL_TEXTURE_2D is enabled.
GLuint whiteTexture();
// A texture's first level back as RGBA (`rgba`, by rows from the bottom, reused), with its size;
// what the driver does not give reads as white.
void readTexture(GLuint texture, std::vector<unsigned char> *rgba, int *width, int *height);

// How a TGA texture is filtered: trilinear mipmaps, plain linear, nearest, or mipmaps with only
// the nearest level filtered (half the texture reads of trilinear where the picture is shrunk).
enum TgaFilter {
    TGA_FILTER_TRILINEAR,
    TGA_FILTER_LINEAR,
    TGA_FILTER_NEAREST,
    TGA_FILTER_MIPMAP_NEAREST,
    TGA_FILTER_COUNT
};

// One entry of the TGA set: the texture and the picture's size and format. The decoded pixels
// are let go once uploaded (the texture holds them).
struct TgaTexture {
    GLuint texture;
    int width;
    int height;
    int format; // 3 for RGB, 4 for RGBA
    // For a round picture loaded with `round`: the share of the half-width round its middle
    // outside which no texel is more than kFaintAlpha opaque, with the filter's reach to spare
    // (see drawFacingRounds). 1 for any other picture.
    float reach = 1;

    // filterMode: a TgaFilter; any other value is TGA_FILTER_TRILINEAR.
    bool load(const char *fileName, int filterMode, bool round = false);
    void release(bool deleteTexture);
};
// The most a texel outside a round picture's reach may show, of 255: a sprite's rim that faint
// changes a pixel by a few levels at most, which no one sees (what leaving it out spares: see
// drawFacingRounds).
constexpr int kFaintAlpha = 4;

// The three numbered sets, bound by number throughout the game.
// The counts come from the name tables that tools/gen2d paints the files from.
constexpr int kTextureSetSize = 101; // entries below TEXTURE_SET_FILES come from files, the rest stay unfilled
constexpr int kTextureSetFiles = TEXTURE_SET_FILES;
constexpr int kUiTextureCount = UI_TEXTURE_COUNT;
constexpr int kTgaSetSize = TGA_SET_FILES;

extern GLuint textureSet[kTextureSetSize];
extern GLuint uiTextures[kUiTextureCount];
extern TgaTexture tgaSet[kTgaSetSize];

// Each set loads only the entries the game draws (textureSetDrawn; the interface set's two
// loading pictures); the rest stay 0.
bool loadTextureSet();
// The interface set is the start-up loading screen's alone, loaded in two steps so that the
// window's first picture waits for nothing it does not show: loadUiTextures loads the first
// loading picture (with the graphics); loadStartupRest, on the loading screen's second frame,
// the late one and the TGA set (the glyphs of "Loading..." among it). releaseUiTextures lets the
// set go once that screen is over.
bool loadUiTextures();
void loadStartupRest();
void releaseUiTextures();
// The menus' own pictures (tgaMenuOnly, textureSetMenuOnly) let go while a race runs, and loaded
// again as they were for the menus; loading brings back only what the release let go.
void releaseMenuTextures();
void loadMenuTextures();
