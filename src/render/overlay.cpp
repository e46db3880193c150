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
    const OverlayPiece whole = {0, 0, 1, 1};
    drawOverlayPieces(q, &whole, 1);
}

void drawOverlayPieces(const OverlayQuad &q, const OverlayPiece *pieces, int count)
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
    // Weighted from both ends, so the whole quad's corners come out exactly as given.
    auto mix = [](float a, float b, float share) { return a * (1 - share) + b * share; };
    glBegin(GL_QUADS);
    for (int i = 0; i < count; i++) {
        const OverlayPiece &p = pieces[i];
        const float us[4] = {p.u0, p.u1, p.u1, p.u0}, vs[4] = {p.v0, p.v0, p.v1, p.v1};
        for (int k = 0; k < 4; k++) {
            glTexCoord2f(mix(q.s0, q.s1, us[k]), mix(q.t0, q.t1, vs[k]));
            glVertex2f(mix(q.x0, q.x1, us[k]), mix(q.y0, q.y1, vs[k]));
        }
    }
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
