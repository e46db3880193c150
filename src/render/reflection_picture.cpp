// The small picture the car paint mirrors: drawn into a target of its own before the frame.
#include "render/render.h"

void beginReflectionPicture()
{
    beginTextureTarget(reflectionTexture, kReflectionSize, kReflectionSize, true);
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
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void endReflectionPicture(bool mirror)
{
    endTextureTarget();
    if (mirror) {
        // Turned over into the other target, which then holds the picture.
        GLuint turned = reflectionTexture == reflectionTargets[0] ? reflectionTargets[1] : reflectionTargets[0];
        beginTextureTarget(turned, kReflectionSize, kReflectionSize, false);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kReflectionSize, 0, kReflectionSize, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glBindTexture(GL_TEXTURE_2D, reflectionTexture);
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
        endTextureTarget();
        reflectionTexture = turned;
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
