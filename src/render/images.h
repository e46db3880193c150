// Image readers (Windows bitmaps and uncompressed Truevision TGA) and the ways the game turns an
// image into a GL texture. The decoders work on bytes in memory so that they can be checked on
// any input without a file or a GL context.
#pragma once
#include <cstddef>
#include <cstdint>

#include "render/gl_ext.h"

// A decoded bitmap: R, G, B per pixel, rows without padding, bottom row first.
struct RgbImage {
    int width;
    int height;
    unsigned char *data; // width * height * 3 bytes, owned
    unsigned char *alpha; // width * height bytes, owned; only when asked for and the file has alpha
};

// Largest side we accept from a file; anything bigger is a damaged header, not a texture.
constexpr int kMaxImageSide = 16384;

// Reads a .bmp (with or without its 14-byte file header). Null when the file is missing
// (silently) or unusable (with a message box titled "Error"). keepAlpha also delivers the alpha
// channel of a 16- or 32-bit picture with an alpha mask; other pictures have none.
RgbImage *loadBmpImage(const char *fileName, bool keepAlpha = false);
// The in-memory part of loadBmpImage; fileName only appears in messages.
RgbImage *decodeDib(const unsigned char *bytes, size_t size, const char *fileName, bool keepAlpha = false);
void freeRgbImage(RgbImage *image);

// A decoded TGA: pixels in file row order, R, G, B[, A].
struct TgaImage {
    int width;
    int height;
    int bytesPerPixel; // 3 or 4
    unsigned char *pixels; // owned
};
// Only uncompressed true-colour files of 24 or 32 bits that hold every pixel they promise.
bool decodeTga(const unsigned char *bytes, size_t size, TgaImage *out);
bool readTgaFile(const char *fileName, TgaImage *out);

// Reads a whole file into a new[]-allocated buffer; false when it cannot be opened or read.
bool readWholeFile(const char *fileName, unsigned char **bytes, size_t *size);

// Mipmapped textures for model materials; 0 on failure.
GLuint loadBmpTexture(const char *fileName);
GLuint loadTgaTexture(const char *fileName);

// One entry of the TGA set. The pixels stay with the entry for its lifetime.
struct TgaTexture {
    GLuint texture;
    int width;
    int height;
    unsigned char *pixels;
    int format; // 3 for RGB, 4 for RGBA

    // filterMode 0: trilinear mipmaps, 1: linear, 2: nearest.
    bool load(const char *fileName, int filterMode);
    void release(bool deleteTexture);
};

// The three numbered sets, loaded once and bound by number throughout the game.
constexpr int kTextureSetSize = 101; // entries 0..50 come from files, the rest stay unfilled
constexpr int kTextureSetFiles = 51;
constexpr int kUiTextureCount = 4;
constexpr int kTgaSetSize = 22;

extern GLuint textureSet[kTextureSetSize];
extern GLuint uiTextures[kUiTextureCount];
extern TgaTexture tgaSet[kTgaSetSize];

bool loadTextureSet();
bool loadUiTextures();
void loadTgaSet();
