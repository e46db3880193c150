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
    // A mirror shows the world the other way round: the picture is drawn turned left to right,
    // so it needs no second pass to turn it. Turning it also turns every face's winding, so the
    // faces that were front faces stay front faces.
    glScalef(-1, 1, 1);
    glFrontFace(GL_CW);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
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
