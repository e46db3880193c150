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

void drainMessages()
{
    SysMsg m;
    while (Sys_PeekMessage(&m)) {
    }
}

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
        drainMessages();
    }
};

// Keys are held from down to up only (losing focus releases none); focus follows activation, a
// minimised window counting as inactive; closing the window posts the quit.
TEST_F(Input, TheWindowProcedureHoldsKeysFollowsFocusAndQuitsOnClose)
{
    EXPECT_EQ(gameWindowProc(WM_KEYDOWN, VK_UP, 0), 0);
    EXPECT_TRUE(keyDown[VK_UP]);
    gameWindowProc(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(keyDown[VK_UP]);
    EXPECT_FALSE(windowActive);
    gameWindowProc(WM_KEYUP, VK_UP, 0);
    EXPECT_FALSE(keyDown[VK_UP]);
    gameWindowProc(WM_KEYDOWN, 0x1FF, 0); // codes past the table stay inside it
    gameWindowProc(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(windowActive);
    gameWindowProc(WM_ACTIVATE, uintptr_t(Sys_MakeLParam(WA_ACTIVE, 1)), 0);
    EXPECT_FALSE(windowActive) << "active but minimised counts as inactive";
    gameWindowProc(WM_ACTIVATE, WA_ACTIVE, 0);

    gameWindowProc(WM_CLOSE, 0, 0);
    SysMsg m;
    ASSERT_TRUE(Sys_PeekMessage(&m));
    EXPECT_EQ(m.message, unsigned(WM_QUIT));
    EXPECT_EQ(m.wParam, 0u);
}

TEST_F(Input, FTogglesTheReadoutOncePerPressAndTheLatchBlocksIt)
{
    keyDown['F'] = true;
    handleToggleKeys();
    handleToggleKeys(); // still held: the latch stops a second toggle
    EXPECT_TRUE(showFps);
    keyDown['F'] = false;
    handleToggleKeys();
    EXPECT_FALSE(keyLatch);

    keyDown[VK_SPACE] = true; // Space holds the latch shut
    handleToggleKeys();
    keyDown['F'] = true;
    handleToggleKeys();
    EXPECT_TRUE(showFps) << "F with Space held must not toggle";
    keyDown[VK_SPACE] = keyDown['F'] = false;
    handleToggleKeys();
    keyDown['F'] = true;
    handleToggleKeys();
    EXPECT_FALSE(showFps);
}

TEST_F(Input, CSwitchesTheCameraOnlyInARace)
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
}

TEST_F(Input, EscapePausesOnlyARunningRace)
{
    gameState = shownState = STATE_RACING;
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

TEST_F(Input, CursorScalesToTheVirtualMenuScreen)
{
    resolutionIndex = 0;
    Sys_SetCursorPos(400, 300);
    updateMousePosition();
    EXPECT_EQ(mouseX, 500);
    EXPECT_EQ(mouseY, 375);
    resolutionIndex = 3;
    Sys_SetCursorPos(1279, 1023);
    updateMousePosition();
    EXPECT_EQ(mouseY, 639) << "the bottom row at 1280x1024";
}

// Every kind of line a script holds, each on its own: the message it posts and what it carries.
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
        {"50 focus off", WM_ACTIVATE, WA_INACTIVE, 0, 0},
        {"60 focus on", WM_ACTIVATE, WA_ACTIVE, 0, 0},
        {"10 click", WM_LBUTTONDOWN, kAny, 0, 0},
        {"90 close", WM_CLOSE, kAny, 0, 0},
        {"5 pad 1 connect", SCRIPT_PAD_CONNECT, kAny, 1, 0},
        {"6 pad 1 down dpad_left", SCRIPT_PAD_DOWN, PAD_DPAD_LEFT, 1, 0},
        {"8 pad 1 up A", SCRIPT_PAD_UP, PAD_A, 1, 0},
        {"7 pad 2 axis LT 0.5", SCRIPT_PAD_AXIS, PAD_LEFT_TRIGGER, 2, 0.5f},
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

TEST(CommandLine, FlagsAndTheirValues)
{
    const char *argv[] = {"game", "--windowed", "--frames", "12", "--fixed-frame-ms", "10", "--screenshot",
                          "5:a.png", "--screenshot", "7:b.png", "--seed", "42", "--auto-answer", "no", "--no-browser"};
    EXPECT_EQ(parseCommandLine(15, const_cast<char **>(argv)), -1);
    EXPECT_TRUE(automation.windowed);
    EXPECT_EQ(automation.frames, 12);
    EXPECT_EQ(automation.fixedFrameMs, 10.0);
    ASSERT_EQ(automation.shotCount, 2);
    EXPECT_EQ(automation.shots[1].frame, 7);
    EXPECT_EQ(automation.shots[1].path, "b.png");
    EXPECT_EQ(randomSeed, 42u);
    EXPECT_EQ(automation.autoAnswer, int(IDNO));
    const char *bad1[] = {"game", "--frames"};
    EXPECT_EQ(parseCommandLine(2, const_cast<char **>(bad1)), 2);
    const char *bad2[] = {"game", "--screenshot", "nocolon.png"};
    EXPECT_EQ(parseCommandLine(3, const_cast<char **>(bad2)), 2);
    const char *bad3[] = {"game", "--bogus"};
    EXPECT_EQ(parseCommandLine(2, const_cast<char **>(bad3)), 2);
    automation = Automation();
}

} // namespace
