// The garage behind the menus: a long textured tube round the car with a lit floor strip, both
// scrolling past so the car seems to drive on the spot.
#include "render/render.h"
#include "render/texture_names.h"

void drawGarageTunnel(const float at[3], float clock)
{
    static GLUquadric *quadric;
    if (!quadric) {
        quadric = gluNewQuadric();
        gluQuadricNormals(quadric, GLU_SMOOTH);
        gluQuadricTexture(quadric, GL_TRUE);
    }
    glPushMatrix();
    glTranslatef(at[0], at[1], at[2]);
    glRotatef(25, 0, 1, 0);
    glRotatef(90, 0, 0, 1);
    glTranslatef(0, 0, -200);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, tgaSet[TGA_GARAGE_WALL].texture);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(0, clock * 0.035f, 0);
    glScalef(2, 2, 1);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(-15, 0, 0, 1);
    // Seen from inside: the tube's faces point outwards, so culling would hide it.
    glDisable(GL_CULL_FACE);
    gluCylinder(quadric, 5.5, 5.5, 400, 32, 1);

    glBindTexture(GL_TEXTURE_2D, tgaSet[TGA_GARAGE_STRIP].texture);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(0.5f, 0.5f, 1);
    glTranslatef(0, clock * -0.07f, 0);
    glMatrixMode(GL_MODELVIEW);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-0.91f, -5, 210);
    glTexCoord2f(1, 0);
    glVertex3f(-0.91f, 8.7f, 210);
    glTexCoord2f(1, 4);
    glVertex3f(-0.91f, 8.7f, 10);
    glTexCoord2f(0, 4);
    glVertex3f(-0.91f, -5, 10);
    glEnd();
    glEnable(GL_CULL_FACE);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
