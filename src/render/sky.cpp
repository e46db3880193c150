// The night sky around a race: the dark sky (the frame's clear colour) with two drifting cloud
// layers on flattened domes, the skyline band around the track, and the cheaper sky box of the
// reflection picture. All of it draws with fixed-function state over whatever camera the
// modelview holds.
#include "render/hiding.h"
#include "render/render.h"
#include "render/texture_names.h"
#include "render/view_volume.h"

#include <algorithm>
#include <cmath>
#include <vector>

float skyScroll;

namespace {

// Both cloud layers are drawn in one pass on the inner one's corners: for a software renderer a
// second dome is a second run of every sky pixel through depth test and blending.
constexpr int kDomeSlices = 16, kDomeStacks = 16;
constexpr float kPi = float(M_PI);

struct DomeCorner {
    float position[3]; // on the inner sphere, before the flattening
    float s, t;        // the inner layer's picture there
};

// The corners laid out as a GLU sphere lays them out (slices round its z axis, stacks from +z
// to -z), with its texture coordinates: s from 1 at +y down through 0.75 at +x, t from 1 at +z
// to 0 at -z. Row j holds stack line j, kDomeSlices + 1 corners (the last closes the seam).
const std::vector<DomeCorner> &domeCorners()
{
    static std::vector<DomeCorner> corners;
    if (corners.empty())
        for (int j = 0; j <= kDomeStacks; j++)
            for (int i = 0; i <= kDomeSlices; i++) {
                const float around = 2 * kPi * float(i % kDomeSlices) / kDomeSlices;
                const float down = kPi * float(j) / kDomeStacks, ring = kSkyInnerLayerRadius * std::sin(down);
                const float z = kSkyInnerLayerRadius * std::cos(down);
                corners.push_back({{ring * std::sin(around), ring * std::cos(around), z},
                                   1 - float(i) / kDomeSlices,
                                   1 - float(j) / kDomeStacks});
            }
    return corners;
}

// The corner on stack line `row`, column `column`.
const DomeCorner &domeCorner(int row, int column) { return domeCorners()[size_t(row * (kDomeSlices + 1) + column)]; }

// The outer layer's picture where the eye's ray through `corner` meets the outer sphere (all
// before the flattening, the eye inside the sphere), as the layer's own dome would show it
// there: s taken within half a turn of `nearS`, so that no triangle spans the picture's seam.
void outerLayerCoords(const float eye[3], const float corner[3], float nearS, float *s, float *t)
{
    float d[3], a = 0, b = 0, c = -kSkyDomeRadius * kSkyDomeRadius;
    for (int k = 0; k < 3; k++) {
        d[k] = corner[k] - eye[k];
        a += d[k] * d[k];
        b += eye[k] * d[k];
        c += eye[k] * eye[k];
    }
    const float along = (-b + std::sqrt(std::max(b * b - a * c, 0.0f))) / a;
    float u[3];
    for (int k = 0; k < 3; k++)
        u[k] = (eye[k] + along * d[k]) / kSkyDomeRadius;
    *s = 1 - std::atan2(u[0], u[1]) / (2 * kPi);
    *s += std::round(nearS - *s);
    *t = 1 - std::acos(std::clamp(u[2], -1.0f, 1.0f)) / kPi;
}

struct Box {
    float x0, x1, y0, y1, z0, z1;
};

Box boxAround(float x, float y, float z, float width, float height, float length)
{
    Box b;
    b.x0 = x - width / 2;
    b.x1 = b.x0 + width;
    b.z0 = z - length / 2;
    b.z1 = b.z0 + length;
    b.y0 = y;
    b.y1 = y + height;
    return b;
}

void corner(float s, float t, float x, float y, float z)
{
    glTexCoord2f(s, t);
    glVertex3f(x, y, z);
}

// The four upright walls of a box, each seen from inside with the picture upright: per corner,
// whether s is at its far end, t, and which of the box's x, y and z bounds (0 low, 1 high).
struct WallCorner {
    bool farS;
    float t;
    int x, y, z;
};
constexpr WallCorner kWalls[4][4] = {
    {{true, 0, 1, 0, 0}, {true, 1, 1, 1, 0}, {false, 1, 0, 1, 0}, {false, 0, 0, 0, 0}}, // z = z0
    {{true, 0, 0, 0, 1}, {true, 1, 0, 1, 1}, {false, 1, 1, 1, 1}, {false, 0, 1, 0, 1}}, // z = z1
    {{true, 1, 0, 1, 0}, {false, 1, 0, 1, 1}, {false, 0, 0, 0, 1}, {true, 0, 0, 0, 0}}, // x = x0
    {{false, 0, 1, 0, 0}, {true, 0, 1, 0, 1}, {true, 1, 1, 1, 1}, {false, 1, 1, 1, 0}}, // x = x1
};

// One wall as a quad inside glBegin(GL_QUADS), s running from 0 to `repeats`.
void wall(const Box &b, int which, float repeats)
{
    for (const WallCorner &c : kWalls[which])
        corner(c.farS ? repeats : 0, c.t, c.x ? b.x1 : b.x0, c.y ? b.y1 : b.y0, c.z ? b.z1 : b.z0);
}

// Whether the quad of the layers between columns i and i + 1 and stack lines j and j + 1 lies
// wholly behind what `hiding` holds. The picture was drawn in the world's space: the corners are
// flattened into it, and their box holds the flat quad.
bool domeQuadHidden(const HidingPicture &hiding, int i, int j)
{
    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
    for (int row : {j, j + 1})
        for (int column : {i, i + 1}) {
            const float *p = domeCorner(row, column).position;
            const float world[3] = {p[0], p[1] * kSkyDomeFlattening, p[2]};
            growBox(world, lo, hi);
        }
    return hiding.hides(lo, hi);
}

} // namespace

void clearToNightSky()
{
    // A renderer that clears whole tiles at once lays the dark colour down for nothing; drawn
    // as a dome behind the scene it cost a shaded and depth-tested pixel wherever the scene
    // hides it.
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glClearColor(0.05f, 0.05f, 0.05f, 1);
    clearFrame();
    glPopAttrib();
}

void drawSkyDome(const float viewer[3], float frameTime, const HidingPicture *hiding)
{
    glDisable(GL_CULL_FACE);
    skyScroll += 1e-6f * frameTime;
    // The layers repeat and drift by whole multiples of skyScroll, so only its fraction counts;
    // wrapping keeps the float from losing the small per-frame steps after a long session.
    if (skyScroll >= 1.0f)
        skyScroll -= 1.0f;

    // The eye in the spheres' space, where the domes are round.
    const float eye[3] = {viewer[0], viewer[1] / kSkyDomeFlattening, viewer[2]};

    // Everything below is undone by the pop: whatever drew before and after sees exactly the
    // matrix it had, not a flattening followed by an inexact unflattening.
    glPushMatrix();
    // Far under the horizon every view meets the street, the buildings or the skyline band
    // before the sky: cut off there, the lower parts of the layers are not shaded only to be
    // rejected behind the scene (most of what lies below the horizon in a race view). The
    // plane is given in world space, before the flattening.
    const double keepAbove[4] = {0, 1, 0, -double(kSkyDomeCut)};
    glClipPlane(GL_CLIP_PLANE0, keepAbove);
    glEnable(GL_CLIP_PLANE0);
    glScalef(1, kSkyDomeFlattening, 1); // the spheres become flat domes

    // The dark dome itself is the frame's clear colour (clearToNightSky): the cloud layers go
    // over it, each adding its clouds at half strength; the inner layer drifts faster.
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor4f(0.1f, 0.1f, 0.15f, 0.5f);
    glBindTexture(GL_TEXTURE_2D, textureSet[TEX_CLOUDS]);
    glUseProgramObjectARB(skyProgram);
    // The quads of the layers wholly behind the city's buildings are left out, each stack's strip
    // cut round them: low down, most of a street's sky is behind the buildings, and each of its
    // pixels would be shaded only to fail the depth test (about a fifth of the layers' pixels in
    // a race). The quads drawn are the same quads, so the picture is the same.
    for (int j = 0; j < kDomeStacks; j++) {
        bool open = false;
        for (int i = 0; i <= kDomeSlices; i++) {
            // Quad i lies between columns i and i + 1: column i goes in while quad i - 1 or quad
            // i is drawn.
            const bool shown = i < kDomeSlices && !(hiding && domeQuadHidden(*hiding, i, j));
            if (shown && !open) {
                glBegin(GL_QUAD_STRIP);
                open = true;
            }
            if (open)
                for (int row : {j + 1, j}) {
                    const DomeCorner &c = domeCorner(row, i);
                    float s, t;
                    outerLayerCoords(eye, c.position, c.s, &s, &t);
                    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, s + skyScroll, t);
                    glMultiTexCoord2fARB(GL_TEXTURE1_ARB, c.s + skyScroll * 51, c.t);
                    glVertex3fv(c.position);
                }
            if (open && !shown) {
                glEnd();
                open = false;
            }
        }
    }
    glUseProgramObjectARB(0);
    glDisable(GL_BLEND);
    glDisable(GL_CLIP_PLANE0);

    glPopMatrix();
    glEnable(GL_CULL_FACE);

    drawHorizonBand(0, -20, 0, 5000, 400, 5000);
}

void drawHorizonBand(float x, float y, float z, float width, float height, float length)
{
    const Box b = boxAround(x, y, z, width, height, length);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, tgaSet[TGA_SKYLINE].texture);
    // Four upright walls, the picture twice along each; no top and no bottom.
    glBegin(GL_QUADS);
    for (int w = 0; w < 4; w++)
        wall(b, w, 2);
    glEnd();
    glDisable(GL_BLEND);
}

void drawSkyBox(float x, float y, float z, float width, float height, float length)
{
    const Box b = boxAround(x, y, z, width, height, length);
    glEnable(GL_TEXTURE_2D);
    // Each face binds its own picture, so each is its own primitive; no bottom.
    const int walls[4] = {TEX_SKYBOX_ZNEG, TEX_SKYBOX_ZPOS, TEX_SKYBOX_XNEG, TEX_SKYBOX_XPOS};
    for (int w = 0; w < 4; w++) {
        glBindTexture(GL_TEXTURE_2D, textureSet[walls[w]]);
        glBegin(GL_QUADS);
        wall(b, w, 1);
        glEnd();
    }
    glBindTexture(GL_TEXTURE_2D, textureSet[TEX_SKYBOX_TOP]);
    glBegin(GL_QUADS);
    corner(0, 1, b.x1, b.y1, b.z0);
    corner(0, 0, b.x1, b.y1, b.z1);
    corner(1, 0, b.x0, b.y1, b.z1);
    corner(1, 1, b.x0, b.y1, b.z0);
    glEnd();
}
