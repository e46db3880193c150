// Image readers: Windows bitmaps and uncompressed Truevision TGA. The decoders work on bytes in
// memory so that they can be checked on any input without a file or a GL context.
#pragma once
#include <cstddef>
#include <cstdint>

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
