// A small independent reader for the files tools/gen2d writes: it checks the exact header
// layout the game's readers accept and returns pixels in file order (bottom row first), as
// loadBmpImage and the TGA reader deliver them to GL. Keeping it independent of the game's
// readers means a fault in either shows up as a disagreement.
#pragma once
#include "platform/sys_files.h"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct ProbeImage {
    int width = 0, height = 0, channels = 0; // channels 3 (RGB) or 4 (RGBA)
    std::vector<uint8_t> pixels;             // R, G, B[, A]; bottom row first
    std::string error;
    // Pixel at (x, y) with y counted from the top of the picture.
    const uint8_t *at(int x, int y) const { return &pixels[(size_t(height - 1 - y) * width + x) * channels]; }
};


inline uint32_t probeLe(const uint8_t *p, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; i--)
        v = (v << 8) | p[i];
    return v;
}

// Uncompressed 24-bit bottom-up BMP with a file header and a 40-byte info header.
inline ProbeImage probeBmp(const std::string &path)
{
    ProbeImage img;
    std::vector<uint8_t> d;
    if (!Sys_ReadWholeFile(path.c_str(), d)) {
        img.error = "cannot open";
        return img;
    }
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') {
        img.error = "no BM file header";
        return img;
    }
    uint32_t bits = probeLe(&d[10], 4), info = probeLe(&d[14], 4);
    int32_t w = int32_t(probeLe(&d[18], 4)), h = int32_t(probeLe(&d[22], 4));
    int bpp = int(probeLe(&d[28], 2)), compression = int(probeLe(&d[30], 4));
    if (info != 40 || bpp != 24 || compression != 0 || probeLe(&d[26], 2) != 1) {
        img.error = "not a plain 24-bit 40-byte-header bitmap";
        return img;
    }
    if (w <= 0 || h <= 0 || w > 4096 || h > 4096) {
        img.error = "bad size (top-down or empty)";
        return img;
    }
    size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    if (probeLe(&d[2], 4) != d.size() || bits + stride * h != d.size()) {
        img.error = "size fields do not match the file";
        return img;
    }
    img.width = w, img.height = h, img.channels = 3;
    img.pixels.resize(size_t(w) * h * 3);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const uint8_t *p = &d[bits + y * stride + size_t(x) * 3];
            uint8_t *o = &img.pixels[(size_t(y) * w + x) * 3];
            o[0] = p[2], o[1] = p[1], o[2] = p[0];
        }
    return img;
}

// Uncompressed true-colour TGA with the fixed 12-byte prefix the game compares against.
inline ProbeImage probeTga(const std::string &path)
{
    ProbeImage img;
    std::vector<uint8_t> d;
    if (!Sys_ReadWholeFile(path.c_str(), d)) {
        img.error = "cannot open";
        return img;
    }
    static const uint8_t prefix[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    if (d.size() < 18 || !std::equal(prefix, prefix + 12, d.begin())) {
        img.error = "header prefix differs from 0,0,2,0...";
        return img;
    }
    int w = int(probeLe(&d[12], 2)), h = int(probeLe(&d[14], 2)), bpp = d[16];
    if ((bpp != 24 && bpp != 32) || w == 0 || h == 0) {
        img.error = "bad depth or size";
        return img;
    }
    if ((d[17] & 0x20) != 0) {
        img.error = "top-left origin: the game ignores the origin bit and would show it upside down";
        return img;
    }
    int ch = bpp / 8;
    if (d.size() != 18 + size_t(w) * h * ch) {
        img.error = "pixel data length differs from the header";
        return img;
    }
    img.width = w, img.height = h, img.channels = ch;
    img.pixels.assign(d.begin() + 18, d.end());
    for (size_t i = 0; i < img.pixels.size(); i += ch)
        std::swap(img.pixels[i], img.pixels[i + 2]);
    return img;
}
