// Camera-facing quads: the glows round the street lamps, added over the finished scene.
#include "render/render.h"

#include <algorithm>
#include <cmath>

void beginGlows(GLuint texture)
{
    glColor4f(1, 1, 1, 1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    // Glows light what is behind them without hiding each other.
    glDepthMask(GL_FALSE);
}

void endGlows()
{
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 1);
}

void billboardCorners(const float viewer[3], const float centre[3], float size, float corners[4][3])
{
    float n[3] = {viewer[0] - centre[0], viewer[1] - centre[1], viewer[2] - centre[2]};
    float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length > 0)
        for (float &c : n)
            c /= length;
    // r = n x (1, 1, 1) and u = n x r span the plane facing the viewer. They are left
    // unnormalised, so a glow's size changes a little with the direction it is seen from.
    const float r[3] = {n[1] - n[2], n[2] - n[0], n[0] - n[1]};
    const float u[3] = {n[1] * r[2] - n[2] * r[1], n[2] * r[0] - n[0] * r[2], n[0] * r[1] - n[1] * r[0]};
    const float s = std::max(size, 0.2f) * 5.0f;
    for (int k = 0; k < 3; k++) {
        corners[0][k] = centre[k] + s * r[k];
        corners[1][k] = centre[k] - s * u[k];
        corners[2][k] = centre[k] - s * r[k];
        corners[3][k] = centre[k] + s * u[k];
    }
}

void drawBillboard(const float viewer[3], const float centre[3], float size, const float color[4])
{
    float c[4][3];
    billboardCorners(viewer, centre, size, c);
    // The glow picture has faded to under one percent in its outer tenth all round: only the
    // inside is drawn, with the texture mapped as on the whole quad. The picture looks the same
    // and a third of the blended pixels are spared.
    const float keep = 0.8f, lo = 0.5f - keep / 2, hi = 0.5f + keep / 2;
    for (auto &corner : c)
        for (int k = 0; k < 3; k++)
            corner[k] = centre[k] + (corner[k] - centre[k]) * keep;
    glColor4fv(color);
    glBegin(GL_QUADS);
    glTexCoord2f(lo, lo);
    glVertex3fv(c[0]);
    glTexCoord2f(hi, lo);
    glVertex3fv(c[1]);
    glTexCoord2f(hi, hi);
    glVertex3fv(c[2]);
    glTexCoord2f(lo, hi);
    glVertex3fv(c[3]);
    glEnd();
}
