// Windows bitmap reader. Bitmaps come with a 40-byte info header or the older 12-byte core
// header, with or without the 14-byte file header in front, at 1, 4, 8, 16, 24 or 32 bits per
// pixel. Every offset and count is checked against the bytes we actually have, because the
// images come from disk and a damaged one must not take the game down.
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/sys.h"
#include "platform/sys_files.h"
#include "formats/images.h"

namespace {

uint16_t le16(const unsigned char *p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t le32(const unsigned char *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

RgbImage *dibError(const char *text)
{
    Sys_MessageBox(text, "Error", MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
}

// Colour-table length implied by the bit depth when the header does not give one.
uint32_t defaultTableLength(int bitCount)
{
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

struct Dib {
    int width;
    int height; // positive: bottom-up rows; negative: top-down
    int bitCount;
    uint32_t compression;
    const unsigned char *table;
    uint32_t tableLength;
    int tableEntrySize; // 4 for info headers, 3 for core headers
    const unsigned char *bits;
    size_t stride;
};

// Index of the colour-table entry for pixel x of a palette row.
unsigned paletteIndex(const unsigned char *row, int x, int bitCount)
{
    switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    default: return row[x];
    }
}

void convertRow(const Dib &dib, const unsigned char *src, unsigned char *dst)
{
    for (int x = 0; x < dib.width; x++, dst += 3) {
        switch (dib.bitCount) {
        case 1:
        case 4:
        case 8: {
            unsigned i = paletteIndex(src, x, dib.bitCount);
            if (i < dib.tableLength) {
                const unsigned char *e = dib.table + size_t(i) * dib.tableEntrySize;
                dst[0] = e[2];
                dst[1] = e[1];
                dst[2] = e[0];
            } else {
                // An index past the table has no colour; black is what a display would show.
                dst[0] = dst[1] = dst[2] = 0;
            }
            break;
        }
        case 16: {
            unsigned v = le16(src + 2 * x); // 5-5-5, the only 16-bit layout without bit masks
            unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            dst[0] = (unsigned char)(r << 3 | r >> 2);
            dst[1] = (unsigned char)(g << 3 | g >> 2);
            dst[2] = (unsigned char)(b << 3 | b >> 2);
            break;
        }
        case 24:
            dst[0] = src[3 * x + 2];
            dst[1] = src[3 * x + 1];
            dst[2] = src[3 * x];
            break;
        case 32:
            dst[0] = src[4 * x + 2];
            dst[1] = src[4 * x + 1];
            dst[2] = src[4 * x];
            break;
        }
    }
}

} // namespace

RgbImage *decodeDib(const unsigned char *bytes, size_t size, const char *fileName)
{
    if (!bytes || size == 0) {
        // An empty file cannot be mapped, which is how the reader first notices it.
        char text[512];
        std::snprintf(text, sizeof text, "Failed to open DIB file %s.\n", fileName ? fileName : "");
        return dibError(text);
    }

    size_t headerAt = 0;
    bool fileHeader = size >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    if (fileHeader)
        headerAt = 14;
    if (size < headerAt + 4)
        return dibError("Unknown DIB file format.");

    uint32_t headerSize = le32(bytes + headerAt);
    if ((headerSize != 12 && headerSize != 40) || size < headerAt + headerSize)
        return dibError("Unknown DIB file format.");

    const unsigned char *h = bytes + headerAt;
    Dib dib{};
    uint32_t colorsUsed = 0;
    if (headerSize == 12) {
        dib.width = le16(h + 4);
        dib.height = le16(h + 6);
        dib.bitCount = le16(h + 10);
        dib.compression = 0;
        dib.tableEntrySize = 3;
    } else {
        dib.width = int32_t(le32(h + 4));
        dib.height = int32_t(le32(h + 8));
        dib.bitCount = le16(h + 14);
        dib.compression = le32(h + 16);
        colorsUsed = le32(h + 32);
        dib.tableEntrySize = 4;
    }
    dib.tableLength = colorsUsed ? colorsUsed : defaultTableLength(dib.bitCount);

    // What the conversion to 24 bits can take: uncompressed data of a known depth, sizes that
    // fit, and a colour table and pixel rows that lie inside the file.
    bool depthOk = dib.bitCount == 1 || dib.bitCount == 4 || dib.bitCount == 8 || dib.bitCount == 16 ||
                   dib.bitCount == 24 || dib.bitCount == 32;
    long long rows = dib.height < 0 ? -(long long)dib.height : dib.height;
    if (!depthOk || dib.compression != 0 || dib.width <= 0 || dib.width > kMaxImageSide || rows == 0 ||
        rows > kMaxImageSide)
        return dibError("Image file conversion error.");

    size_t tableAt = headerAt + headerSize;
    unsigned long long tableBytes = (unsigned long long)dib.tableLength * dib.tableEntrySize;
    if (tableBytes > size - tableAt)
        return dibError("Image file conversion error.");
    dib.table = bytes + tableAt;

    size_t bitsAt = fileHeader ? le32(bytes + 10) : tableAt + size_t(tableBytes);
    dib.stride = (size_t(dib.width) * dib.bitCount + 31) / 32 * 4;
    if (bitsAt > size || dib.stride * size_t(rows) > size - bitsAt)
        return dibError("Image file conversion error.");
    dib.bits = bytes + bitsAt;

    size_t outStride = size_t(dib.width) * 3;
    unsigned char *data = new (std::nothrow) unsigned char[outStride * size_t(rows)];
    RgbImage *image = data ? new (std::nothrow) RgbImage : nullptr;
    if (!image) {
        delete[] data;
        return dibError("Out of memory.");
    }
    for (long long y = 0; y < rows; y++) {
        // Top-down bitmaps are turned over so every image arrives bottom row first.
        long long from = dib.height < 0 ? rows - 1 - y : y;
        convertRow(dib, dib.bits + size_t(from) * dib.stride, data + size_t(y) * outStride);
    }
    image->width = dib.width;
    image->height = int(rows);
    image->data = data;
    return image;
}

RgbImage *loadBmpImage(const char *fileName)
{
    if (!fileName)
        return nullptr;
    FILE *f = Sys_FOpen(fileName, "rb");
    if (!f)
        return nullptr;
    std::fclose(f);

    std::vector<uint8_t> bytes;
    if (!Sys_ReadWholeFile(fileName, bytes)) {
        char text[512];
        std::snprintf(text, sizeof text, "Failed to open DIB file %s.\n", fileName);
        return dibError(text);
    }
    return decodeDib(bytes.data(), bytes.size(), fileName);
}

void freeRgbImage(RgbImage *image)
{
    if (!image)
        return;
    delete[] image->data;
    delete image;
}
