// Minimal PNG writer (stored deflate blocks, no compression library needed) for screenshots,
// contact sheets and track maps.
#pragma once
#include <cstdint>
#include <vector>

// rgb: width*height*channels bytes, top row first; channels 3 (RGB) or 4 (RGBA).
bool Sys_WritePng(const char *path, int width, int height, int channels, const uint8_t *pixels);
// The same file image in memory.
std::vector<uint8_t> Sys_EncodePng(int width, int height, int channels, const uint8_t *pixels);
