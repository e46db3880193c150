// The player's controls: the file that keeps them, rebinding, how far a key pushes an action,
// and the names the Controls screen shows.
#include "common/common.h"
#include "common/controls.h"
#include "platform/sys.h"
#include "platform/sys_pad.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The defaults hold every kind of binding, so the round trip carries each. (A missing file and a
// damaged one give the defaults: the keyed and the pad race through the game start from each.)
TEST(Controls, TheFileKeepsTheChoice)
{
    TempDir dir;
    dir.enter();
    controls = defaultControls();
    bindControl(ACTION_NITRO, {BIND_KEY, 'N'});
    ASSERT_TRUE(writeControls());
    const ControlBindings chosen = controls;
    controls = defaultControls();
    readControls();
    EXPECT_TRUE(controls == chosen);
    EXPECT_EQ(controls.slot[ACTION_NITRO][kKeySlot], (Binding{BIND_KEY, 'N'}));
}

// (A key or pad button taken from another action leaves it this one's old input: the Controls
// screen's test in the shell swaps both kinds.)
TEST(Controls, APadInputReplacesBothPadInputsAndImpossibleBindingsAreRefused)
{
    controls = defaultControls();
    // Steering leaves the stick and the d-pad.
    bindControl(ACTION_STEER_LEFT, {BIND_PAD_BUTTON, PAD_LEFT_SHOULDER});
    EXPECT_EQ(controls.slot[ACTION_STEER_LEFT][1], (Binding{BIND_PAD_BUTTON, PAD_LEFT_SHOULDER}));
    EXPECT_EQ(controls.slot[ACTION_STEER_LEFT][2], Binding{});
    bindControl(ACTION_BRAKE, {BIND_PAD_MINUS, PAD_LEFT_X}); // steering let it go already
    EXPECT_EQ(controls.slot[ACTION_BRAKE][1], (Binding{BIND_PAD_MINUS, PAD_LEFT_X}));

    const ControlBindings before = controls;
    bindControl(ACTION_BRAKE, {BIND_PAD_MINUS, PAD_LEFT_TRIGGER}); // a trigger has no minus
    bindControl(ACTION_BRAKE, {BIND_KEY, 0});
    bindControl(ACTION_COUNT, {BIND_KEY, 'Q'});
    bindControl(-1, {BIND_KEY, 'Q'});
    EXPECT_TRUE(controls == before);
    controls = defaultControls();
}

TEST(Controls, AKeyPushesItsActionAllTheWayAndNamesReadBothWays)
{
    controls = defaultControls();
    std::memset(keyDown, 0, sizeof keyDown);
    EXPECT_EQ(actionAmount(ACTION_STEER_LEFT), 0.0f);
    keyDown[VK_LEFT] = keyDown[VK_RIGHT] = true;
    EXPECT_EQ(actionAmount(ACTION_STEER_LEFT), 1.0f);
    EXPECT_EQ(actionAmount(ACTION_STEER_RIGHT), 1.0f);
    EXPECT_FALSE(actionHeld(ACTION_NITRO));
    EXPECT_EQ(actionAmount(ACTION_COUNT), 0.0f);
    std::memset(keyDown, 0, sizeof keyDown);

    const char *shown[ACTION_COUNT][kBindingSlots] = {
        {"Left", "Left stick left", "D-pad left"}, {"Right", "Left stick right", "D-pad right"}, {"Up", "RT", "-"},
        {"Down", "LT", "-"}, {"Space", "A", "-"}, {"C", "Y", "-"}, {"Escape", "Start", "-"}, {"F", "Back", "-"},
    };
    for (int a = 0; a < ACTION_COUNT; a++)
        for (int s = 0; s < kBindingSlots; s++)
            EXPECT_EQ(bindingName(controls.slot[a][s]), shown[a][s]);
    EXPECT_EQ(bindingName({BIND_KEY, 0x07}), "-") << "a key the game has no name for";
    // Every key with a name is found again by it, however the name is written.
    int named = 0;
    for (unsigned vk = 1; vk < 256; vk++) {
        std::string name = bindingName({BIND_KEY, int(vk)});
        if (name == "-")
            continue;
        named++;
        EXPECT_EQ(keyFromName(name), vk) << name;
    }
    EXPECT_EQ(named, 26 + 10 + 12 + 19);
}

} // namespace
