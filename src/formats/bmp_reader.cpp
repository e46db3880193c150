// Windows bitmap reader. It reads what image editors and older tools save: the 12-byte core
// header, the 16- and 64-byte OS/2 2.x headers and the 40-, 52-, 56-, 108- and 124-byte info
// headers, with or without the 14-byte file header in front; 1, 4 and 8 bits per pixel through a
// colour table, uncompressed or run-length encoded (8 and 4 bits); 16 and 32 bits with the
// default layouts or bit-field masks; 24 bits. Everything arrives as 24-bit RGB. Every offset
// and count is checked against the bytes we actually have, because the images come from disk
// and a damaged one must not take the game down.
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/sys.h"
#include "platform/sys_files.h"
#include "formats/images.h"
#include "formats/le_bytes.h"

namespace {

RgbImage *dibError(const char *text)
{
    Sys_MessageBox(text, "Error", MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
}

constexpr const char *kUnknownFormat = "Unknown DIB file format.";
constexpr const char *kConversionError = "Image file conversion error.";

// Compression field values. The OS/2 2.x headers use 3 and 4 for Huffman and 24-bit run-length
// coding instead, which no editor writes any more; those are refused.
enum : uint32_t { kUncompressed = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

bool knownHeaderSize(uint32_t size)
{
    switch (size) {
    case 12: // OS/2 1.x core header: 16-bit sizes, 3-byte colour entries
    case 16: // OS/2 2.x, cut after the bit count
    case 64: // OS/2 2.x, complete
    case 40: // the ordinary info header
    case 52: // ... with the red, green and blue masks
    case 56: // ... and the alpha mask
    case 108: // ... and colour-space information
    case 124: // ... and a colour profile
        return true;
    default:
        return false;
    }
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

// One colour channel of a 16- or 32-bit pixel, given by its mask.
struct Channel {
    uint32_t mask; // 0: the file has no such channel
    int shift;
    uint32_t max; // mask >> shift: the channel's full value
};

// A mask must lie inside the pixel and be one run of bits; anything else is a damaged header.
bool makeChannel(uint32_t mask, int bitCount, Channel *c)
{
    *c = {mask, 0, 0};
    if (!mask)
        return true;
    if (bitCount == 16 && mask > 0xFFFFu)
        return false;
    while (!(mask & 1)) {
        mask >>= 1;
        c->shift++;
    }
    c->max = mask;
    return (mask & (mask + 1)) == 0;
}

// Full scale to full scale, rounded to the nearest: 5-bit 31 is 255 (not 248) and 5-bit 3 is 25,
// so a picture keeps its brightness whatever depth it was saved at.
unsigned char channelValue(const Channel &c, uint32_t pixel)
{
    if (!c.mask)
        return 0;
    uint64_t v = (pixel & c.mask) >> c.shift;
    return (unsigned char)((v * 255 + c.max / 2) / c.max);
}

struct Dib {
    int width;
    int rows;
    bool topDown;
    int bitCount;
    uint32_t compression;
    const unsigned char *table;
    uint32_t tableLength;
    int tableEntrySize; // 3 for core headers, 4 otherwise
    Channel channels[4]; // red, green, blue, alpha; 16 and 32 bits only
    const unsigned char *bits;
    size_t bitsSize;
    size_t stride;
};

// Palette entry i as R, G, B. An index past the table has no colour; black is what a display
// would show.
void putColour(const Dib &dib, unsigned i, unsigned char *dst)
{
    if (i < dib.tableLength) {
        const unsigned char *e = dib.table + size_t(i) * dib.tableEntrySize;
        dst[0] = e[2];
        dst[1] = e[1];
        dst[2] = e[0];
    } else {
        dst[0] = dst[1] = dst[2] = 0;
    }
}

// Index of the colour-table entry for pixel x of a palette row.
unsigned paletteIndex(const unsigned char *row, int x, int bitCount)
{
    switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    default: return row[x];
    }
}

// One uncompressed row into R, G, B (and alpha when asked for and the file has it).
void convertRow(const Dib &dib, const unsigned char *src, unsigned char *dst, unsigned char *alpha)
{
    for (int x = 0; x < dib.width; x++, dst += 3) {
        switch (dib.bitCount) {
        case 1:
        case 4:
        case 8:
            putColour(dib, paletteIndex(src, x, dib.bitCount), dst);
            break;
        case 24:
            dst[0] = src[3 * x + 2];
            dst[1] = src[3 * x + 1];
            dst[2] = src[3 * x];
            break;
        case 16:
        case 32: {
            uint32_t v = dib.bitCount == 16 ? le16(src + 2 * x) : le32(src + 4 * x);
            for (int c = 0; c < 3; c++)
                dst[c] = channelValue(dib.channels[c], v);
            if (alpha)
                alpha[x] = channelValue(dib.channels[3], v);
            break;
        }
        }
    }
}

// Run-length encoded palette pictures (always bottom-up). Pixels a run would put past the end of
// its line are dropped; pixels the stream skips (a delta move, an early end of line or of the
// picture) stay black, as the blank picture they are drawn into. A run below the last line, a
// move out of the picture, or a stream that ends while lines are still to come is refused.
bool decodeRle(const Dib &dib, unsigned char *out)
{
    const unsigned char *s = dib.bits;
    const size_t n = dib.bitsSize;
    const long long width = dib.width, rows = dib.rows;
    const bool rle8 = dib.bitCount == 8;
    long long x = 0, y = 0;
    size_t p = 0;
    auto put = [&](unsigned index) { // callers stop at the end of the line
        putColour(dib, index, out + (size_t(y) * size_t(width) + size_t(x)) * 3);
        x++;
    };
    for (;;) {
        if (n - p < 2)
            return y >= rows; // writers may leave out the end marker after the last line
        unsigned count = s[p], code = s[p + 1];
        p += 2;
        if (count) { // a run of one byte: one index, or two alternating 4-bit ones
            if (y >= rows)
                return false;
            for (unsigned i = 0; i < count && x < width; i++)
                put(rle8 ? code : (i & 1) ? code & 15 : code >> 4);
            continue;
        }
        switch (code) {
        case 0: // end of line
            x = 0;
            y++;
            break;
        case 1: // end of picture
            return true;
        case 2: // move right and up
            if (n - p < 2)
                return false;
            x += s[p];
            y += s[p + 1];
            p += 2;
            if (x > width || y > rows)
                return false;
            break;
        default: { // `code` indices stored as they are, padded to a 16-bit boundary
            size_t bytes = rle8 ? code : (code + 1) / 2;
            if (n - p < bytes || y >= rows)
                return false;
            for (unsigned i = 0; i < code && x < width; i++) {
                unsigned b = s[p + (rle8 ? i : i / 2)];
                put(rle8 ? b : (i & 1) ? b & 15 : b >> 4);
            }
            p += bytes + (bytes & 1);
            if (p > n)
                p = n; // the pad byte of the last run may be missing
            break;
        }
        }
    }
}

} // namespace

RgbImage *decodeDib(const unsigned char *bytes, size_t size, const char *fileName, bool keepAlpha)
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
        return dibError(kUnknownFormat);

    uint32_t headerSize = le32(bytes + headerAt);
    if (!knownHeaderSize(headerSize) || size - headerAt < headerSize)
        return dibError(kUnknownFormat);

    const unsigned char *h = bytes + headerAt;
    Dib dib{};
    uint32_t colorsUsed = 0;
    int height;
    if (headerSize == 12) {
        dib.width = le16(h + 4);
        height = le16(h + 6);
        dib.bitCount = le16(h + 10);
        dib.tableEntrySize = 3;
    } else {
        // Every longer header starts like the 40-byte one; fields a short one leaves out are 0.
        dib.width = int32_t(le32(h + 4));
        height = int32_t(le32(h + 8));
        dib.bitCount = le16(h + 14);
        dib.compression = headerSize >= 20 ? le32(h + 16) : kUncompressed;
        colorsUsed = headerSize >= 36 ? le32(h + 32) : 0;
        dib.tableEntrySize = 4;
    }
    dib.tableLength = colorsUsed ? colorsUsed : defaultTableLength(dib.bitCount);
    dib.topDown = height < 0;
    long long rows = height < 0 ? -(long long)height : height;

    bool os2 = headerSize == 16 || headerSize == 64;
    bool palette = dib.bitCount == 1 || dib.bitCount == 4 || dib.bitCount == 8;
    bool direct = dib.bitCount == 16 || dib.bitCount == 32;
    bool bitFields = !os2 && direct && (dib.compression == kBitFields || dib.compression == kAlphaBitFields);
    bool rle = (dib.compression == kRle8 && dib.bitCount == 8) || (dib.compression == kRle4 && dib.bitCount == 4);
    bool uncompressed = dib.compression == kUncompressed && (palette || direct || dib.bitCount == 24);
    // Run-length pictures cannot be stored top-down: the coding itself runs bottom-up.
    if (!(uncompressed || rle || bitFields) || (rle && dib.topDown) || dib.width <= 0 ||
        dib.width > kMaxImageSide || rows == 0 || rows > kMaxImageSide)
        return dibError(kConversionError);
    dib.rows = int(rows);

    size_t tableAt = headerAt + headerSize;
    uint32_t masks[4] = {};
    if (bitFields && headerSize == 40) {
        // The 40-byte header has no room for masks: they follow it, before any colour table.
        size_t count = dib.compression == kAlphaBitFields ? 4 : 3;
        if (size - tableAt < 4 * count)
            return dibError(kConversionError);
        for (size_t i = 0; i < count; i++)
            masks[i] = le32(bytes + tableAt + 4 * i);
        tableAt += 4 * count;
    } else if (bitFields) {
        for (size_t i = 0; i < (headerSize >= 56 ? 4u : 3u); i++)
            masks[i] = le32(h + 40 + 4 * i);
    } else if (dib.bitCount == 16) { // 5-5-5, no alpha
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (dib.bitCount == 32) { // the fourth byte is unused, not alpha
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    for (int c = 0; c < 4; c++)
        if (!makeChannel(masks[c], dib.bitCount, &dib.channels[c]))
            return dibError(kConversionError);

    // The colour table and the pixels must lie inside the file.
    unsigned long long tableBytes = (unsigned long long)dib.tableLength * dib.tableEntrySize;
    if (tableBytes > size - tableAt)
        return dibError(kConversionError);
    dib.table = bytes + tableAt;

    size_t bitsAt = fileHeader ? le32(bytes + 10) : tableAt + size_t(tableBytes);
    dib.stride = (size_t(dib.width) * dib.bitCount + 31) / 32 * 4;
    if (bitsAt > size || (!rle && dib.stride * size_t(rows) > size - bitsAt))
        return dibError(kConversionError);
    dib.bits = bytes + bitsAt;
    dib.bitsSize = size - bitsAt;

    size_t outStride = size_t(dib.width) * 3;
    bool withAlpha = keepAlpha && dib.channels[3].mask;
    // Zeroed, because a run-length stream may leave pixels out.
    unsigned char *data = new (std::nothrow) unsigned char[outStride * size_t(rows)]();
    unsigned char *alpha = withAlpha ? new (std::nothrow) unsigned char[size_t(dib.width) * size_t(rows)] : nullptr;
    RgbImage *image = data && (alpha || !withAlpha) ? new (std::nothrow) RgbImage : nullptr;
    if (!image) {
        delete[] data;
        delete[] alpha;
        return dibError("Out of memory.");
    }
    if (rle) {
        if (!decodeRle(dib, data)) {
            delete[] data;
            delete image;
            return dibError(kConversionError);
        }
    } else {
        for (long long y = 0; y < rows; y++) {
            // Top-down bitmaps are turned over so every image arrives bottom row first.
            long long from = dib.topDown ? rows - 1 - y : y;
            convertRow(dib, dib.bits + size_t(from) * dib.stride, data + size_t(y) * outStride,
                       alpha ? alpha + size_t(y) * size_t(dib.width) : nullptr);
        }
    }
    image->width = dib.width;
    image->height = dib.rows;
    image->data = data;
    image->alpha = alpha;
    return image;
}

RgbImage *loadBmpImage(const char *fileName, bool keepAlpha)
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
    return decodeDib(bytes.data(), bytes.size(), fileName, keepAlpha);
}

void freeRgbImage(RgbImage *image)
{
    if (!image)
        return;
    delete[] image->data;
    delete[] image->alpha;
    delete image;
}
