// Screens that are not drawn yet: the frame dispatch already calls them in their places.
#include "frontend/frontend.h"
#include "shell/shell.h"

void drawMenuScreens()
{
    menuClock += frameTime * 0.2f;
    if (menuClock > 1000000.0f)
        menuClock = 0;
    updateMousePosition();
}
bool menuClick() { return false; }
void menuHover() {}
void drawHud() {}
void drawResults() {}
