// 2D drawing on the virtual 800 x 600 screen (origin bottom left, y up) whatever the display
// mode: the textured quads of the HUD and the menus, in the blend modes the overlays use. Text
// comes from font.h on the same screen.
#pragma once
#include "render/gl_ext.h"

enum OverlayBlend {
    OVERLAY_OPAQUE,   // replaces what is below
    OVERLAY_ALPHA,    // source alpha, one minus source alpha
    OVERLAY_ADD,      // source alpha, one: light added, faded by alpha
    OVERLAY_LIGHT,    // one, one: the light image of a mask-then-add pair
    OVERLAY_MASK,     // destination colour, zero: the mask image of a pair darkens what is below
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
void drawOverlayPieces(const OverlayQuad &quad, const OverlayPiece *pieces, int count);
// A HUD element drawn mask then add: the quad with the mask texture multiplied in, then the same
// quad with the light texture added.
void drawMaskedQuad(OverlayQuad quad, GLuint mask, GLuint light);
