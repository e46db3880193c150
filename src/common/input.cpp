// The keys and the menu mouse as the window procedure leaves them.
#include "common/common.h"
#include "platform/sys.h"

bool keyDown[256];
int mouseX, mouseY;

float mouseScale(int index)
{
    static const float factor[] = {1.25f, 1.0f, 0.78f, 0.625f, 0.5f};
    return index >= 0 && index < 5 ? factor[index] : 1.0f;
}

void updateMousePosition()
{
    int x, y;
    Sys_GetCursorPos(&x, &y);
    float f = mouseScale(resolutionIndex);
    mouseX = int(float(x) * f);
    mouseY = int(float(y) * f);
}
