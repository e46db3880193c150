#include "frontend/frontend.h"
#include "race/race.h"
#include "shell/automation.h"
#include "common/common.h"
#include "shell/shell.h"
#include "platform/sys_pad.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

struct Input : ::testing::Test {
    void SetUp() override
    {
        std::memset(keyDown, 0, sizeof keyDown);
        keyLatch = false;
        showFps = false;
        cameraMode = 0;
        gameState = shownState = STATE_MAIN_MENU;
        countdownActive = raceFinished = false;
        fullscreen = false;
        windowActive = true;
    }
};

// Losing focus releases no held key, a minimised window counts as inactive, and a code past the
// key table stays inside it. (Keys held, focus following activation and the close posting the quit
// are what the scripted game runs of the e2e tests go through.)
TEST_F(Input, TheWindowProcedureKeepsKeysOnFocusLossAndAMinimisedWindowIsInactive)
{
    gameWindowProc(WM_KEYDOWN, VK_UP, 0);
    gameWindowProc(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(keyDown[VK_UP]);
    gameWindowProc(WM_KEYDOWN, 0x1FF, 0);
    gameWindowProc(WM_ACTIVATE, uintptr_t(Sys_MakeLParam(WA_ACTIVE, 1)), 0);
    EXPECT_FALSE(windowActive) << "active but minimised counts as inactive";
}

TEST_F(Input, CSwitchesTheCameraOnlyInARaceAndEscapePausesOnlyARunningOne)
{
    keyDown['C'] = true;
    handleToggleKeys();
    EXPECT_EQ(cameraMode, 0);
    keyDown['C'] = false;
    handleToggleKeys();
    gameState = STATE_RACING;
    for (int expected : {1, 0}) {
        keyDown['C'] = true;
        handleToggleKeys();
        EXPECT_EQ(cameraMode, expected);
        keyDown['C'] = false;
        handleToggleKeys();
    }

    // Escape pauses only a running race.
    keyDown[VK_ESCAPE] = true;
    countdownActive = true;
    handleToggleKeys();
    EXPECT_EQ(gameState, STATE_RACING) << "no pause during the countdown";
    countdownActive = false;
    raceFinished = true;
    handleToggleKeys();
    EXPECT_EQ(gameState, STATE_RACING) << "no pause after the finish";
    raceFinished = false;
    screenFade = 1;
    menuSelection = 2;
    handleToggleKeys();
    EXPECT_EQ(gameState, STATE_PAUSE);
    EXPECT_EQ(shownState, STATE_PAUSE);
    EXPECT_EQ(screenFade, 0.0f);
    EXPECT_EQ(menuSelection, 0);
}

// Every kind of line a script holds, each on its own: the message it posts and what it carries.
// (Focus, close and the plain pad lines are in the scripts the e2e game runs play.)
TEST(InputScript, EachLineKindParsesToItsEvent)
{
    const long kAny = -1;
    struct Case {
        const char *line;
        unsigned message;
        long wParam; // kAny: not looked at
        int pad;
        float value;
    } cases[] = {
        {"30 key down UP   # accelerate", WM_KEYDOWN, VK_UP, 0, 0},
        {"40 key up 0x26", WM_KEYUP, VK_UP, 0, 0},
        {"70 key down space", WM_KEYDOWN, VK_SPACE, 0, 0},
        {"10 click", WM_LBUTTONDOWN, kAny, 0, 0},
        {"6 pad 1 down dpad_left", SCRIPT_PAD_DOWN, PAD_DPAD_LEFT, 1, 0},
        {"7 pad 2 axis leftx -1", SCRIPT_PAD_AXIS, PAD_LEFT_X, 2, -1},
        {"9 pad 8 disconnect", SCRIPT_PAD_DISCONNECT, kAny, 8, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        ScriptEvent ev[2];
        int n = 0;
        std::string error;
        ASSERT_TRUE(parseInputScript(c.line, ev, 2, &n, &error)) << error;
        ASSERT_EQ(n, 1);
        EXPECT_EQ(ev[0].frame, std::atol(c.line));
        EXPECT_EQ(ev[0].message, c.message);
        if (c.wParam != kAny) {
            EXPECT_EQ(ev[0].wParam, (unsigned long)(c.wParam));
        }
        EXPECT_EQ(ev[0].pad, c.pad);
        EXPECT_EQ(ev[0].value, c.value);
    }
}

// A whole script: comments and blank lines skipped, events in frame order and same-frame ones in
// the order written; the mouse carries its position.
TEST(InputScript, AScriptRunsInFrameOrder)
{
    const char *text = "# a race start\n"
                       "30 key down UP\n"
                       "10 mouse 400 300\n"
                       "\n"
                       "10 click\n"
                       "90 close\n";
    ScriptEvent ev[8];
    int n = 0;
    std::string error;
    ASSERT_TRUE(parseInputScript(text, ev, 8, &n, &error)) << error;
    ASSERT_EQ(n, 4);
    EXPECT_EQ(ev[0].message, unsigned(WM_MOUSEMOVE));
    EXPECT_EQ(ev[0].frame, 10);
    EXPECT_EQ(ev[0].x, 400);
    EXPECT_EQ(ev[0].y, 300);
    EXPECT_EQ(ev[1].message, unsigned(WM_LBUTTONDOWN)) << "same-frame events keep their order";
    EXPECT_EQ(ev[2].message, unsigned(WM_KEYDOWN));
    EXPECT_EQ(ev[3].message, unsigned(WM_CLOSE));
}

TEST(InputScript, RefusesMalformedLinesNamingTheLine)
{
    const char *bad[] = {"x key down UP",   "5 key sideways UP",      "5 key down NOSUCHKEY", "5 mouse 1",
                         "5 focus maybe",   "5 jump",                 "-1 close",             "5 close now",
                         "5 pad",           "5 pad 0 connect",        "5 pad 9 connect",      "5 pad x connect",
                         "5 pad 1 wiggle",  "5 pad 1 down",           "5 pad 1 down Z",       "5 pad 1 axis UP 0",
                         "5 pad 1 axis RT", "5 pad 1 axis LEFTX 1.5", "5 pad 1 axis LT -0.5", "5 pad 1 connect now"};
    for (const char *text : bad) {
        ScriptEvent ev[4];
        int n = 0;
        std::string error;
        EXPECT_FALSE(parseInputScript(text, ev, 4, &n, &error)) << text;
        EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    }
    ScriptEvent one[1];
    int n = 0;
    std::string error;
    EXPECT_FALSE(parseInputScript("1 close\n2 close\n", one, 1, &n, &error)) << "no write past the table";
}

} // namespace
