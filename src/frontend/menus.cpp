// The menu screens on their shared layout, and the mouse over them. Not drawn yet: the menus
// keep their clock and the cursor position, and take no click.
#include "common/common.h"
#include "frontend/frontend.h"

void drawMenuScreens()
{
    menuClock += frameTime * 0.2f;
    if (menuClock > 1000000.0f)
        menuClock = 0;
    updateMousePosition();
}

bool menuClick() { return false; }
void menuHover() {}
void menuClickReset() {}
