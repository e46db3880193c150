// The ways the game turns an image into a GL texture, and the three numbered texture sets.
#pragma once
#include "formats/images.h"
#include "render/gl_ext.h"

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
