// The pad in the menus, through the keyboard's own navigation: the d-pad and the left stick move
// as the arrow keys, A chooses as Enter, B goes back as Escape. While the Controls screen waits
// for an input, the pad's next button or push is that input instead.
#include "common/controls.h"
#include "frontend/frontend.h"
#include "platform/sys.h"
#include "platform/sys_pad.h"

#include <cmath>

namespace {

// A stick counts as pushed past half way and as back once under a third, so one push is one
// step however it wobbles near the edge.
constexpr float kPushAt = 0.5f, kReleaseAt = 0.3f;
int pushed[PAD_AXIS_COUNT]; // -1, 0, +1 per axis

const struct {
    int button;
    unsigned key;
} buttonKeys[] = {
    {PAD_DPAD_UP, VK_UP}, {PAD_DPAD_DOWN, VK_DOWN}, {PAD_DPAD_LEFT, VK_LEFT}, {PAD_DPAD_RIGHT, VK_RIGHT},
    {PAD_A, VK_RETURN}, {PAD_B, VK_ESCAPE},
};

void stickPush(int axis, int direction)
{
    if (controlsTakePad({direction > 0 ? BIND_PAD_PLUS : BIND_PAD_MINUS, axis}))
        return;
    if (axis == PAD_LEFT_X)
        menuKey(direction > 0 ? VK_RIGHT : VK_LEFT);
    else if (axis == PAD_LEFT_Y)
        menuKey(direction > 0 ? VK_DOWN : VK_UP);
}

} // namespace

void menuPadButton(int button)
{
    if (controlsTakePad({BIND_PAD_BUTTON, button})) {
        holdBackPadButton(button);
        return;
    }
    for (const auto &b : buttonKeys)
        if (b.button == button && menuKey(b.key))
            holdBackPadButton(button);
}

void menuPadAxis(int axis, float value)
{
    if (axis < 0 || axis >= PAD_AXIS_COUNT)
        return;
    int direction = value >= kPushAt ? 1 : value <= -kPushAt ? -1 : 0;
    if (direction != 0 && direction != pushed[axis]) {
        pushed[axis] = direction;
        stickPush(axis, direction);
    } else if (std::fabs(value) < kReleaseAt) {
        pushed[axis] = 0;
    }
}
