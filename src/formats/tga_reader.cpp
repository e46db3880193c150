// Uncompressed true-colour TGA reader. Only the one header shape the game's textures use is
// accepted (no image id, no colour map, type 2); run-length and colour-mapped files are refused,
// as is any file that does not hold every pixel its header promises.
#include <cstring>
#include <new>
#include <vector>

#include "formats/images.h"
#include "platform/sys_files.h"

bool decodeTga(const unsigned char *bytes, size_t size, TgaImage *out)
{
    static const unsigned char kHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    *out = TgaImage{};
    if (!bytes || size < 18 || std::memcmp(bytes, kHeader, sizeof kHeader) != 0)
        return false;
    int width = bytes[12] | bytes[13] << 8;
    int height = bytes[14] | bytes[15] << 8;
    int bits = bytes[16];
    if ((bits != 24 && bits != 32) || width == 0 || height == 0)
        return false;
    int bpp = bits / 8;
    size_t count = size_t(width) * size_t(height) * size_t(bpp);
    if (count > size - 18)
        return false;
    unsigned char *pixels = new (std::nothrow) unsigned char[count];
    if (!pixels)
        return false;
    std::memcpy(pixels, bytes + 18, count);
    for (size_t i = 0; i < count; i += size_t(bpp)) {
        unsigned char b = pixels[i];
        pixels[i] = pixels[i + 2];
        pixels[i + 2] = b;
    }
    out->width = width;
    out->height = height;
    out->bytesPerPixel = bpp;
    out->pixels = pixels;
    return true;
}

bool readTgaFile(const char *fileName, TgaImage *out)
{
    *out = TgaImage{};
    std::vector<uint8_t> bytes;
    return fileName && Sys_ReadWholeFile(fileName, bytes) && decodeTga(bytes.data(), bytes.size(), out);
}
