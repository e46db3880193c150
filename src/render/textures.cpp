// Turning images into GL textures, and the three numbered texture sets.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

#include "platform/sys_files.h"
#include "render/images.h"

GLuint textureSet[kTextureSetSize];
GLuint uiTextures[kUiTextureCount];
TgaTexture tgaSet[kTgaSetSize];

namespace {

// Decoded rows carry no padding, so GL must not expect rows aligned to 4 bytes; without this
// an image whose width is not a multiple of 4 would upload skewed.
void buildMipmaps(int components, GLenum format, int width, int height, const unsigned char *pixels)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format, GL_UNSIGNED_BYTE, pixels);
}

void setFilters(GLint minFilter, GLint magFilter)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
}

void setWrap(GLint wrap)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

// Deletes a set's textures and leaves every entry 0.
void releaseBmpSet(GLuint *names, int size)
{
    for (int i = 0; i < size; i++)
        if (names[i])
            glDeleteTextures(1, &names[i]);
    std::fill(names, names + size, 0u);
}

// Loads the listed entries of a set from "base/textures/texNN.bmp", NN = fileOf(entry), stopping
// at the first missing or damaged file (reported; false). wrapFor(entry) gives the entry's wrap.
// Pictures are decoded and uploaded one at a time, so only one decoded copy is ever held beside
// the textures.
bool loadBmpEntries(GLuint *names, const int *entries, int count, int (*fileOf)(int), GLint (*wrapFor)(int))
{
    for (int k = 0; k < count; k++) {
        const int i = entries[k];
        char file[32];
        std::snprintf(file, sizeof file, "base/textures/tex%02d.bmp", fileOf(i));
        RgbImage *image = loadBmpImage(file);
        if (!image) {
            Sys_ReportUnusable(file);
            return false;
        }
        glGenTextures(1, &names[i]);
        glBindTexture(GL_TEXTURE_2D, names[i]);
        setFilters(GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR);
        setWrap(wrapFor(i));
        buildMipmaps(3, GL_RGB, image->width, image->height, image->data);
        freeRgbImage(image);
    }
    return true;
}

// A whole set's listed entries, or none: a set with a hole would show wrong pictures by number,
// so one missing file leaves the whole set at 0. Entries not listed stay 0, as nothing binds them.
bool loadBmpSet(GLuint *names, int size, const int *entries, int count, int (*fileOf)(int),
                GLint (*wrapFor)(int))
{
    releaseBmpSet(names, size);
    if (loadBmpEntries(names, entries, count, fileOf, wrapFor))
        return true;
    releaseBmpSet(names, size);
    return false;
}

GLint textureSetWrap(int i)
{
    // The cloud layer is tiled across the sky dome; everything else is drawn once and must
    // not bleed in the opposite edge.
    return i == TEX_CLOUDS ? GL_REPEAT : GL_CLAMP_TO_EDGE;
}

int textureSetFile(int i) { return i; }
int uiTextureFile(int i) { return uiTextureFiles[i]; }
// The loading pictures fill the screen once: clamped, so no edge takes in the opposite one.
GLint uiWrap(int) { return GL_CLAMP_TO_EDGE; }

} // namespace

GLuint loadBmpTexture(const char *fileName)
{
    RgbImage *image = loadBmpImage(fileName);
    if (!image || !image->data) {
        freeRgbImage(image);
        return 0;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    setFilters(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);
    buildMipmaps(3, GL_RGB, image->width, image->height, image->data);
    freeRgbImage(image);
    return name;
}

GLuint solidTexture(unsigned char r, unsigned char g, unsigned char b, unsigned char a)
{
    const unsigned char texel[4] = {r, g, b, a};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    setFilters(GL_NEAREST, GL_NEAREST);
    return name;
}

GLuint whiteTexture()
{
    static GLuint white;
    if (!white)
        white = solidTexture(255, 255, 255);
    return white;
}

void readTexture(GLuint texture, std::vector<unsigned char> *rgba, int *width, int *height)
{
    *width = *height = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, height);
    rgba->assign(size_t(std::max(*width, 0)) * size_t(std::max(*height, 0)) * 4, 255);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!rgba->empty())
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
}

GLuint loadTgaTexture(const char *fileName)
{
    TgaImage tga;
    if (!readTgaFile(fileName, &tga))
        return 0;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    setFilters(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);
    setWrap(GL_REPEAT);
    GLenum format = tga.bytesPerPixel == 3 ? GL_RGB : GL_RGBA;
    buildMipmaps(int(format), format, tga.width, tga.height, tga.pixels);
    delete[] tga.pixels;
    return name;
}

namespace {

// How far round its middle a picture shows more than faintly, as a share of its half-width (and
// of its half-height across): a texel counts to its far corner, and the filter reaches a texel
// further.
float roundReach(const TgaImage &tga)
{
    if (tga.bytesPerPixel != 4 || tga.width <= 0 || tga.height <= 0)
        return 1;
    const float halfW = 0.5f * float(tga.width), halfH = 0.5f * float(tga.height);
    float farthest = 0;
    for (int y = 0; y < tga.height; y++)
        for (int x = 0; x < tga.width; x++)
            if (tga.pixels[(size_t(y) * size_t(tga.width) + size_t(x)) * 4 + 3] > kFaintAlpha) {
                float dx = (std::fabs(float(x) + 0.5f - halfW) + 0.5f) / halfW;
                float dy = (std::fabs(float(y) + 0.5f - halfH) + 0.5f) / halfH;
                farthest = std::max(farthest, dx * dx + dy * dy);
            }
    return std::min(1.0f, std::sqrt(farthest) + 1.0f / std::min(halfW, halfH));
}

} // namespace

bool TgaTexture::load(const char *fileName, int filterMode, bool round)
{
    release(true);
    TgaImage tga;
    if (!readTgaFile(fileName, &tga))
        return false;
    width = tga.width;
    height = tga.height;
    format = tga.bytesPerPixel;
    reach = round ? roundReach(tga) : 1.0f;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Minifying and magnifying filter by TgaFilter.
    static const GLint filters[TGA_FILTER_COUNT][2] = {{GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
                                                       {GL_LINEAR, GL_LINEAR},
                                                       {GL_NEAREST, GL_NEAREST},
                                                       {GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR}};
    const GLint *f = filters[filterMode >= 0 && filterMode < TGA_FILTER_COUNT ? filterMode : TGA_FILTER_TRILINEAR];
    setFilters(f[0], f[1]);
    setWrap(GL_REPEAT);
    GLenum glFormat = format == 3 ? GL_RGB : GL_RGBA;
    buildMipmaps(int(glFormat), glFormat, width, height, tga.pixels);
    // The texture holds the picture; nothing reads the decoded copy again.
    delete[] tga.pixels;
    return true;
}

void TgaTexture::release(bool deleteTexture)
{
    if (deleteTexture && texture)
        glDeleteTextures(1, &texture);
    texture = 0;
    width = height = format = 0;
    reach = 1;
}

bool loadTextureSet()
{
    return loadBmpSet(textureSet, kTextureSetSize, textureSetDrawn, int(std::size(textureSetDrawn)), textureSetFile,
                      textureSetWrap);
}

bool loadUiTextures()
{
    static const int first[] = {UITEX_LOADING_FIRST};
    return loadBmpSet(uiTextures, kUiTextureCount, first, 1, uiTextureFile, uiWrap);
}

void releaseUiTextures()
{
    releaseBmpSet(uiTextures, kUiTextureCount);
}

namespace {

void loadTgaEntry(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "base/textures/tex%02d.tga", i);
    // The smoke, dust and flame particles are soft blobs drawn in deep stacks, mostly smaller
    // than their pictures: one mipmap level per pixel instead of a blend of two spares a tenth
    // of the effects' drawing time, and on a blob the step between levels is not seen.
    bool particle = i == TGA_PUFF || i == TGA_FLAME;
    if (!tgaSet[i].load(name, particle ? TGA_FILTER_MIPMAP_NEAREST : TGA_FILTER_TRILINEAR, particle))
        Sys_ReportUnusable(name);
}

} // namespace

void loadStartupRest()
{
    // Loaded on its own: a missing late picture leaves the first one showing until it is due.
    static const int late[] = {UITEX_LOADING_LATE};
    loadBmpEntries(uiTextures, late, 1, uiTextureFile, uiWrap);
    for (int i = 0; i < kTgaSetSize; i++)
        loadTgaEntry(i);
}

// The entries releaseMenuTextures let go, the ones loadMenuTextures loads again (a picture whose
// file was missing at start-up was reported then, and is not looked for again at every race).
static bool tgaLetGo[kTgaSetSize], textureSetLetGo[kTextureSetSize];

void releaseMenuTextures()
{
    for (int i : tgaMenuOnly)
        if (tgaSet[i].texture) {
            tgaSet[i].release(true);
            tgaLetGo[i] = true;
        }
    for (int i : textureSetMenuOnly)
        if (textureSet[i]) {
            glDeleteTextures(1, &textureSet[i]);
            textureSet[i] = 0;
            textureSetLetGo[i] = true;
        }
}

void loadMenuTextures()
{
    for (int i : tgaMenuOnly)
        if (std::exchange(tgaLetGo[i], false))
            loadTgaEntry(i);
    for (int i : textureSetMenuOnly)
        if (std::exchange(textureSetLetGo[i], false))
            loadBmpEntries(textureSet, &i, 1, textureSetFile, textureSetWrap);
}
