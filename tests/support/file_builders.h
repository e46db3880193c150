// Builders for the image and effect files the reader and render tests write for themselves.
#pragma once
#include "formats/effect_file.h"
#include "support/temp_dir.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

inline void put16(Bytes &b, unsigned v)
{
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
inline void put32(Bytes &b, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b.push_back((v >> (8 * i)) & 0xFF);
}
inline void putFloat(Bytes &b, float f)
{
    uint32_t v;
    std::memcpy(&v, &f, 4);
    put32(b, v);
}

struct Rgb {
    unsigned char r, g, b;
    bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
};

struct BmpLayout {
    int width = 1, height = 1; // negative height: top-down rows
    int bits = 24;
    bool fileHeader = true;
    // 12 (core header, 3-byte colour entries), 16 or 64 (OS/2 2.x), 40, 52, 56, 108 or 124.
    int headerSize = 40;
    uint32_t colorsUsed = 0;   // headers of 40 bytes and more
    uint32_t compression = 0;
    // Bit-field masks, red, green, blue[, alpha]: inside headers of 52 bytes and more, after a
    // 40-byte one.
    std::vector<uint32_t> masks;
    std::vector<Rgb> palette;  // written as the colour table
    // Pixel value for (x, row) where row counts in file order: the palette index for palette
    // depths, the stored value for 16 and 32 bits, else the colour packed as 0xRRGGBB.
    std::function<uint32_t(int x, int row)> pixel = [](int, int) { return 0u; };
    Bytes rle; // when not empty: the pixel data as it stands, instead of rows from `pixel`
};

inline Bytes makeBmp(const BmpLayout &s)
{
    Bytes info;
    int rows = s.height < 0 ? -s.height : s.height;
    bool core = s.headerSize == 12;
    put32(info, uint32_t(s.headerSize));
    if (core) {
        put16(info, unsigned(s.width));
        put16(info, unsigned(s.height));
    } else {
        put32(info, uint32_t(s.width));
        put32(info, uint32_t(s.height));
    }
    put16(info, 1);
    put16(info, unsigned(s.bits));
    if (s.headerSize >= 40) {
        put32(info, s.compression);
        put32(info, uint32_t(s.rle.size())); // image size: 0 for rows, left for the reader to work out
        put32(info, 2835);
        put32(info, 2835);
        put32(info, s.colorsUsed);
        put32(info, 0);
    }
    if (s.headerSize >= 52)
        for (size_t i = 0; i < (s.headerSize >= 56 ? 4u : 3u); i++)
            put32(info, i < s.masks.size() ? s.masks[i] : 0);
    info.resize(size_t(s.headerSize), 0); // colour space, profile, OS/2 extras: all zero
    if (s.headerSize == 40)
        for (uint32_t m : s.masks)
            put32(info, m);
    for (const Rgb &c : s.palette) {
        info.push_back(c.b);
        info.push_back(c.g);
        info.push_back(c.r);
        if (!core)
            info.push_back(0);
    }
    size_t stride = (size_t(s.width) * s.bits + 31) / 32 * 4;
    Bytes bits(stride * rows, 0);
    for (int row = 0; row < rows; row++) {
        unsigned char *r = bits.data() + row * stride;
        for (int x = 0; x < s.width; x++) {
            uint32_t v = s.pixel(x, row);
            switch (s.bits) {
            case 1: r[x / 8] |= (v & 1) << (7 - x % 8); break;
            case 4: r[x / 2] |= (v & 15) << (x % 2 ? 0 : 4); break;
            case 8: r[x] = v & 0xFF; break;
            case 16:
            case 24:
            case 32:
                for (int i = 0; i < s.bits / 8; i++)
                    r[s.bits / 8 * x + i] = (v >> (8 * i)) & 0xFF;
                break;
            }
        }
    }
    if (!s.rle.empty())
        bits = s.rle;
    Bytes out;
    if (s.fileHeader) {
        out.push_back('B');
        out.push_back('M');
        put32(out, uint32_t(14 + info.size() + bits.size()));
        put32(out, 0);
        put32(out, uint32_t(14 + info.size()));
    }
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

// Uncompressed TGA; pixels given as R, G, B[, A] per pixel in file row order.
inline Bytes makeTga(int width, int height, int bits, const Bytes &rgba, unsigned char imageType = 2,
                     unsigned char idLength = 0, unsigned char colorMapType = 0)
{
    Bytes out = {idLength, colorMapType, imageType, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put16(out, unsigned(width));
    put16(out, unsigned(height));
    out.push_back((unsigned char)bits);
    out.push_back(bits == 32 ? 8 : 0);
    int bpp = bits / 8;
    if (bpp < 3) { // depths the game does not read: the bytes as given
        out.insert(out.end(), rgba.begin(), rgba.end());
        return out;
    }
    for (size_t i = 0; i + bpp <= rgba.size(); i += bpp) {
        out.push_back(rgba[i + 2]);
        out.push_back(rgba[i + 1]);
        out.push_back(rgba[i]);
        if (bpp == 4)
            out.push_back(rgba[i + 3]);
    }
    return out;
}

// An effect file: the 24 values in the reader's order, the unused second one a copy of the
// blend mode as our generator writes it.
inline Bytes makeEffect(const EffectParams &e)
{
    Bytes out;
    auto word = [&](int v) { put32(out, uint32_t(v)); };
    word(e.particleCount);
    word(e.blendMode);
    putFloat(out, e.maxSize);
    for (float g : e.gravity)
        putFloat(out, g);
    for (float s : e.scale)
        putFloat(out, s);
    putFloat(out, e.fadeScale);
    for (int s : e.spread)
        word(s);
    for (float o : e.offset)
        putFloat(out, o);
    word(e.fadeSpread);
    for (float f : {e.fadeDivisor, e.fadeBase, e.growth, e.startSize, e.energyDecay, e.startLife})
        putFloat(out, f);
    word(e.blendMode);
    return out;
}
