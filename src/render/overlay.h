// 2D drawing on the virtual 800 x 600 screen (origin bottom left, y up) whatever the display
// mode: the textured quads of the HUD and the menus, in the blend modes the overlays use. Text
// comes from font.h on the same screen.
#pragma once
#include "render/gl_ext.h"

#include <cstddef>
#include <vector>

enum OverlayBlend {
    OVERLAY_OPAQUE,   // replaces what is below
    OVERLAY_ALPHA,    // source alpha, one minus source alpha
    OVERLAY_ADD,      // source alpha, one: light added, faded by alpha
    OVERLAY_LIGHT,    // one, one: the light image of a mask-then-add pair
    OVERLAY_MASK,     // destination colour, zero: the mask image of a pair darkens what is below
    OVERLAY_MASKED_LIGHT, // one, second source colour: a pair in one pass (maskedLightProgram)
    OVERLAY_PREMULTIPLIED, // one, source alpha: a picture whose colours are already weighted by
                           // their cover, its alpha the share of what is below that shows
};

struct OverlayQuad {
    GLuint texture = 0;           // 0: untextured
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0; // corners, relative to the origin below
    float s0 = 0, t0 = 0, s1 = 1, t1 = 1; // texture coordinates of the corners
    float color[4] = {1, 1, 1, 1};
    OverlayBlend blend = OVERLAY_ALPHA;
    float originX = 0, originY = 0; // where (0, 0) of the corners lies on the screen
    float angle = 0;                // degrees, counter-clockwise about the origin
};

// Opens the 2D screen with lighting, depth test and fog off; endOverlay restores the 3D state
// and the projection.
void beginOverlay();
void endOverlay();
void drawOverlayQuad(const OverlayQuad &quad);
// Parts of a quad, each a rectangle given as shares of the quad across (u) and up (v), textured
// as the whole quad would be there; in one batch. Pieces that do not overlap draw each pixel at
// most once, so an added picture may be drawn piece by piece.
struct OverlayPiece {
    float u0, v0, u1, v1;
};
constexpr OverlayPiece kWholeQuad = {0, 0, 1, 1};
void drawOverlayPieces(const OverlayQuad &quad, const OverlayPiece *pieces, int count);
// A picture looked at in square blocks, to draw only the parts of a quad that can change the
// frame: which blocks are marked, by rows from the bottom.
struct PictureBlocks {
    int width = 0, height = 0, size = 1; // the picture's texels; a block's side
    std::vector<unsigned char> marked;   // columns() x rows()
    int columns() const { return (width + size - 1) / size; }
    int rows() const { return (height + size - 1) / size; }
    bool at(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < columns() && y < rows() && marked[size_t(y) * size_t(columns()) + size_t(x)];
    }
};
// The blocks of `size` texels a side with a marked texel (`texels`, width x height by rows from
// the bottom, non-zero where marked) in them or within `margin` texels round them.
PictureBlocks markBlocks(const std::vector<unsigned char> &texels, int width, int height, int size, int margin);
// The marked blocks as pieces of a quad over the whole picture, joined along each row.
std::vector<OverlayPiece> piecesOf(const PictureBlocks &blocks);
// A picture drawn blended over the frame (OVERLAY_ALPHA) that is mostly clear: only the blocks of
// the quad where its texture is not are drawn. Where a picture shows is worked out from its
// texture the first time it is drawn and kept with the texture's name, so this and
// drawMaskedQuad are for pictures loaded once and never changed or deleted, as the HUD's are.
void drawMostlyClearQuad(const OverlayQuad &quad);
// A HUD element drawn mask then add: the quad with the mask texture multiplied in, then the same
// quad with the light texture added; unless it is turned, only where the mask is not white or
// the light not black.
void drawMaskedQuad(OverlayQuad quad, GLuint mask, GLuint light);
