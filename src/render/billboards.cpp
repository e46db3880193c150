// Camera-facing squares: one triangle strip each, drawn without depth writes.
#include "render/billboards.h"

#include <cmath>

void facingAxes(const float centre[3], const float eye[3], const float scale[3], float a[3], float b[3])
{
    float v[3] = {eye[0] - centre[0], eye[1] - centre[1], eye[2] - centre[2]};
    float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len > 0)
        for (float &c : v)
            c /= len;
    // a = v x (0, 1, 0), b = v x a.
    float ua[3] = {-v[2], 0, v[0]};
    float ub[3] = {v[1] * ua[2] - v[2] * ua[1], v[2] * ua[0] - v[0] * ua[2], v[0] * ua[1] - v[1] * ua[0]};
    for (int i = 0; i < 3; i++) {
        a[i] = ua[i] * scale[i];
        b[i] = ub[i] * scale[i];
    }
}

void beginBillboards(GLuint texture, BillboardBlend blend, bool fogged)
{
    if (fogged)
        glEnable(GL_FOG);
    else
        glDisable(GL_FOG);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, blend == BILLBOARD_ADD ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void drawFacingSquare(const float centre[3], const float eye[3], const float scale[3], const float colour[4])
{
    float a[3], b[3];
    facingAxes(centre, eye, scale, a, b);
    const float *p = centre;
    glColor4fv(colour);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(1, 0);
    glVertex3f(p[0] - b[0], p[1] - b[1], p[2] - b[2]);
    glTexCoord2f(0, 0);
    glVertex3f(p[0] + a[0], p[1] + a[1], p[2] + a[2]);
    glTexCoord2f(1, 1);
    glVertex3f(p[0] - a[0], p[1] - a[1], p[2] - a[2]);
    glTexCoord2f(0, 1);
    glVertex3f(p[0] + b[0], p[1] + b[1], p[2] + b[2]);
    glEnd();
}

void endBillboards()
{
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
    glEnable(GL_FOG);
    glColor4f(1, 1, 1, 1);
}
