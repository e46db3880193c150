// The small picture the car paint mirrors: drawn into a target of its own before the frame.
#include "render/render.h"

#include <cmath>

namespace {

// The paint looks the picture up as a sphere map: every coordinate it reads lies within the
// circle that touches the picture's edges, and a linear filter reads at most one texel beyond.
// The corners outside are never seen, yet the street behind them would be lit pixel by pixel.
// So they are closed first, at the nearest depth, and nothing drawn after is lit there. What is
// closed lies outside a polygon drawn round the circle with two texels to spare (the paint's
// coordinates are worked out at the corners and rounded). Drawn with both matrices at the
// identity, on the picture's own axes.
void closeUnseenCorners()
{
    constexpr int kSides = 16;
    struct Polygon {
        float corner[kSides + 1][2]; // the first again at the end
    };
    static const Polygon polygon = [] {
        Polygon p;
        const float reach = 1.0f + 2.0f / (kReflectionSize / 2); // the circle's radius is 1 on these axes
        const float corner = reach / std::cos(float(M_PI) / kSides);
        for (int i = 0; i <= kSides; i++) {
            float a = float(2 * M_PI) * float(i % kSides) / kSides;
            p.corner[i][0] = corner * std::cos(a), p.corner[i][1] = corner * std::sin(a);
        }
        return p;
    }();
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    // Beyond each side of the polygon, out past the picture's edges, at depth 0 (z = -1).
    glBegin(GL_QUADS);
    for (int i = 0; i < kSides; i++) {
        const float *a = polygon.corner[i], *b = polygon.corner[i + 1];
        glVertex3f(a[0], a[1], -1);
        glVertex3f(b[0], b[1], -1);
        glVertex3f(3 * b[0], 3 * b[1], -1);
        glVertex3f(3 * a[0], 3 * a[1], -1);
    }
    glEnd();
    glPopAttrib();
}

} // namespace

void beginReflectionPicture()
{
    beginTextureTarget(reflectionTexture, kReflectionSize, kReflectionSize, true);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    closeUnseenCorners();
    glMatrixMode(GL_PROJECTION);
    // The near plane stays well off the eye: the picture starts at the car's body, and a plane
    // very close to the eye leaves too little depth precision for road markings lying on the road.
    gluPerspective(90.0, 1.0, 0.5, 8000.0);
    // A mirror shows the world the other way round: the picture is drawn turned left to right,
    // so it needs no second pass to turn it. Turning it also turns every face's winding, so the
    // faces that were front faces stay front faces.
    glScalef(-1, 1, 1);
    glFrontFace(GL_CW);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
}

void endReflectionPicture()
{
    endTextureTarget();
    glFrontFace(GL_CCW);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
