// 2D quads over the finished picture.
#include "render/overlay.h"
#include "render/font.h"

namespace {

void setBlend(OverlayBlend blend)
{
    if (blend == OVERLAY_OPAQUE) {
        glDisable(GL_BLEND);
        return;
    }
    glEnable(GL_BLEND);
    switch (blend) {
    case OVERLAY_ALPHA: glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
    case OVERLAY_ADD: glBlendFunc(GL_SRC_ALPHA, GL_ONE); break;
    case OVERLAY_LIGHT: glBlendFunc(GL_ONE, GL_ONE); break;
    default: glBlendFunc(GL_DST_COLOR, GL_ZERO); break;
    }
}

} // namespace

void beginOverlay()
{
    beginVirtualScreen();
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
}

void endOverlay()
{
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_FOG);
    glColor4f(1, 1, 1, 1);
    glPopMatrix();
    endVirtualScreen();
}

void drawOverlayQuad(const OverlayQuad &q)
{
    // Text printed between two quads turns the depth test back on; a quad lies over the 3D
    // picture whatever depth that left behind.
    glDisable(GL_DEPTH_TEST);
    setBlend(q.blend);
    if (q.texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, q.texture);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    glColor4fv(q.color);
    glPushMatrix();
    glTranslatef(q.originX, q.originY, 0);
    if (q.angle != 0)
        glRotatef(q.angle, 0, 0, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(q.s0, q.t0);
    glVertex2f(q.x0, q.y0);
    glTexCoord2f(q.s1, q.t0);
    glVertex2f(q.x1, q.y0);
    glTexCoord2f(q.s1, q.t1);
    glVertex2f(q.x1, q.y1);
    glTexCoord2f(q.s0, q.t1);
    glVertex2f(q.x0, q.y1);
    glEnd();
    glPopMatrix();
    glEnable(GL_TEXTURE_2D);
}

void drawMaskedQuad(OverlayQuad q, GLuint mask, GLuint light)
{
    q.texture = mask;
    q.blend = OVERLAY_MASK;
    drawOverlayQuad(q);
    q.texture = light;
    q.blend = OVERLAY_LIGHT;
    drawOverlayQuad(q);
}
