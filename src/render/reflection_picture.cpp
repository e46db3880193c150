// The small picture the car paint mirrors: drawn into the lower left corner of the frame before
// the frame itself, then copied into reflectionTexture.
#include "render/render.h"

void beginReflectionPicture()
{
    glPushAttrib(GL_VIEWPORT_BIT);
    glViewport(0, 0, kReflectionSize, kReflectionSize);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // The near plane stays well off the eye: the picture starts at the car's body, and a plane
    // very close to the eye leaves too little depth precision for road markings lying on the road.
    gluPerspective(90.0, 1.0, 0.5, 8000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    // glClear ignores the viewport: the scissor keeps it to the picture's corner.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, kReflectionSize, kReflectionSize);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

namespace {

void copyPicture()
{
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, reflectionTexture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, kReflectionSize, kReflectionSize);
}

} // namespace

void endReflectionPicture(bool mirror)
{
    copyPicture();
    if (mirror) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kReflectionSize, 0, kReflectionSize, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1, 1, 1, 1);
        const float size = float(kReflectionSize);
        glBegin(GL_QUADS);
        glTexCoord2f(1, 0);
        glVertex2f(0, 0);
        glTexCoord2f(0, 0);
        glVertex2f(size, 0);
        glTexCoord2f(0, 1);
        glVertex2f(size, size);
        glTexCoord2f(1, 1);
        glVertex2f(0, size);
        glEnd();
        glEnable(GL_DEPTH_TEST);
        copyPicture();
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPopAttrib();
}
