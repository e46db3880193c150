// The pad and the Controls screen through the window procedure. (What a script says of its
// virtual pads is parsed with the rest of the script, in the input tests.)
#include "common/common.h"
#include "common/controls.h"
#include "frontend/frontend.h"
#include "platform/sys_pad.h"
#include "shell/automation.h"
#include "shell/shell.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void show(int state)
{
    gameState = shownState = state;
    screenFade = 1;
    menuSelection = 0;
    menuScroll = 0;
    menuItemCount = menuItemTotal(state);
}

void key(unsigned vk)
{
    gameWindowProc(WM_KEYDOWN, vk, 0);
    gameWindowProc(WM_KEYUP, vk, 0);
}

void padButton(int button)
{
    gameWindowProc(WM_PADBUTTONDOWN, uintptr_t(button), 0);
    gameWindowProc(WM_PADBUTTONUP, uintptr_t(button), 0);
}

void stick(int axis, int value) { gameWindowProc(WM_PADAXIS, uintptr_t(axis), value); }

TEST(PadInput, TheMenusFollowThePadAndTheControlsScreenTakesTheNextInputAndSavesIt)
{
    TempDir dir;
    dir.enter();
    controls = defaultControls();
    loadingPhase = false;
    soundOn = false;
    std::memset(keyDown, 0, sizeof keyDown);

    // Options: the d-pad to "Controls", A to choose it; the stick steps once per push.
    show(STATE_OPTIONS);
    padButton(PAD_DPAD_DOWN);
    EXPECT_EQ(menuSelection, 1);
    padButton(PAD_A);
    EXPECT_EQ(gameState, STATE_CONTROLS);
    show(STATE_CONTROLS);
    stick(PAD_LEFT_Y, 32767);
    stick(PAD_LEFT_Y, 20000);
    stick(PAD_LEFT_Y, 16000);
    EXPECT_EQ(menuSelection, 1) << "one push, however it wobbles past half way";
    stick(PAD_LEFT_Y, 0);
    stick(PAD_LEFT_Y, 32767);
    EXPECT_EQ(menuSelection, 2);
    stick(PAD_LEFT_Y, -32768);
    EXPECT_EQ(menuSelection, 1);

    // Enter on Nitro waits; Enter held and repeating is no answer; N is, and is saved at once.
    menuSelection = ACTION_NITRO;
    gameWindowProc(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(bindingAction, ACTION_NITRO);
    gameWindowProc(WM_KEYDOWN, VK_RETURN, 0);
    gameWindowProc(WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(bindingAction, ACTION_NITRO);
    key('N');
    EXPECT_EQ(bindingAction, -1);
    EXPECT_EQ(menuSelection, ACTION_NITRO) << "the answer moved nothing";
    ControlBindings saved;
    ASSERT_TRUE(readControlsFile(controlsPath, &saved));
    EXPECT_EQ(saved.slot[ACTION_NITRO][kKeySlot], (Binding{BIND_KEY, 'N'}));

    // From the pad: A waits, a pulled trigger answers.
    menuSelection = ACTION_CAMERA;
    padButton(PAD_A);
    EXPECT_EQ(bindingAction, ACTION_CAMERA);
    stick(PAD_LEFT_TRIGGER, 30000);
    EXPECT_EQ(controls.slot[ACTION_CAMERA][1], (Binding{BIND_PAD_PLUS, PAD_LEFT_TRIGGER}));
    EXPECT_EQ(controls.slot[ACTION_BRAKE][1], (Binding{BIND_PAD_BUTTON, PAD_Y})) << "brake took camera's Y";
    stick(PAD_LEFT_TRIGGER, 0);

    // A click leaves the action as it was; Escape is an answer like any key.
    menuSelection = ACTION_BRAKE;
    key(VK_RETURN);
    Sys_SetCursorPos(400, 300);
    gameWindowProc(WM_LBUTTONDOWN, 0, Sys_MakeLParam(400, 300));
    EXPECT_EQ(bindingAction, -1);
    EXPECT_EQ(controls.slot[ACTION_BRAKE][kKeySlot], (Binding{BIND_KEY, VK_DOWN}));
    menuSelection = ACTION_FRAME_RATE;
    key(VK_RETURN);
    key(VK_ESCAPE);
    EXPECT_EQ(controls.slot[ACTION_FRAME_RATE][kKeySlot], (Binding{BIND_KEY, VK_ESCAPE}));
    EXPECT_EQ(controls.slot[ACTION_PAUSE][kKeySlot], (Binding{BIND_KEY, 'F'}));
    EXPECT_EQ(gameState, STATE_CONTROLS);

    // "Defaults" brings the game's own back, in the file too; B goes back to the options.
    menuSelection = ACTION_COUNT;
    padButton(PAD_A);
    EXPECT_TRUE(controls == defaultControls());
    ASSERT_TRUE(readControlsFile(controlsPath, &saved));
    EXPECT_TRUE(saved == defaultControls());
    padButton(PAD_B);
    EXPECT_EQ(gameState, STATE_OPTIONS);
    controls = defaultControls();
}

} // namespace
