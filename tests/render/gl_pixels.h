// What the GL tests draw with and read back: a flat view and one pixel's colour.
#pragma once
#include "render/render.h"
#include "support/file_builders.h"

// The colour of window pixel (x, y), y from the bottom.
inline Rgb pixelAt(int x, int y)
{
    unsigned char p[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

// Looks straight at the plane z = 0 with x to the right and y up, over [left, right] x
// [bottom, top], keeping what lies within `depth` of the plane.
inline void flatView(double right, double top, double left = 0, double bottom = 0, double depth = 1)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, -depth, depth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
