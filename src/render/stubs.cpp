// The renderer's first cut: the GL state the shell needs to run frames. Texture sets, fonts,
// programs and scenes are filled in by the renderer proper.
#include "frontend/frontend.h"
#include "race/race.h"
#include "render/render.h"
#include "shell/shell.h"

#include <GL/gl.h>
#include <GL/glu.h>

bool initGraphics()
{
    seedRandomGenerator();
    timerInit();
    Sys_GL_SwapInterval(0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(0, 0, 0, 0);
    gameState = STATE_MAIN_MENU;
    selectedCar = 0;
    selectedRace = 1;
    menuClock = 40.0f;
    return true;
}

bool isMultitextureSupported() { return true; }

void resizeScene(int width, int height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (gameState == STATE_RACING)
        gluPerspective(70.0 + 0.5 * playerSpeed, double(width) / double(height), 0.1, 15000.0);
    else
        gluPerspective(35.0, double(width) / double(height), 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void deleteFonts() {}
void loadTextureSet() {}
void renderReflection(bool) {}
void drawRaceScene() {}
void drawGarageScene() {}
void copySceneTexture() {}
void postProcessPass(int, int) {}
void printSmall(int, int, int, const char *, ...) {}
void printLarge(int, int, int, const char *, ...) {}
void drawStartCountdown() {}
