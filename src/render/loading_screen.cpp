// The start-up loading screen: one of two full-screen pictures, the second with "Loading...".
#include "render/font.h"
#include "render/images.h"
#include "render/render.h"
#include "render/texture_names.h"

void drawLoadingScreen(int image)
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_LIGHTING);
    beginVirtualScreen();

    glBindTexture(GL_TEXTURE_2D, uiTextures[image == 1 ? UITEX_LOADING_LATE : UITEX_LOADING_FIRST]);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(0, 0, 0);
    glTexCoord2f(1, 0);
    glVertex3f(800, 0, 0);
    glTexCoord2f(1, 1);
    glVertex3f(800, 600, 0);
    glTexCoord2f(0, 1);
    glVertex3f(0, 600, 0);
    glEnd();

    if (image == 1) {
        beginOverlayText();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        printSmall(520, 24, 1, "Loading...");
        endOverlayText();
    }

    endVirtualScreen();
    glLoadIdentity();
}
