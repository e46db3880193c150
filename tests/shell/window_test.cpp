// The window and GL context on a real display (Xvfb in CI), with each platform step made to fail
// in turn to check the message the player would see and what is left open.
#include "frontend/frontend.h"
#include "common/common.h"
#include "shell/shell.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Window : ::testing::Test {
    int boxesBefore = 0;
    void SetUp() override
    {
        setDefaultSettings();
        Sys_SetAutoAnswer(IDYES);
        boxesBefore = Sys_BoxCount();
    }
    void TearDown() override
    {
        closeGameWindow();
        for (int s = 0; s < SYS_STEP_COUNT; s++)
            Sys_FailStep(SysStep(s), false);
    }
    int newBoxes() const { return Sys_BoxCount() - boxesBefore; }
    std::string lastText() const { return Sys_Box(Sys_BoxCount() - 1).text; }
    std::string lastTitle() const { return Sys_Box(Sys_BoxCount() - 1).title; }
};

TEST_F(Window, EachFailingStepShowsItsOwnMessageAndUnwinds)
{
    const struct {
        SysStep step;
        const char *text;
    } cases[] = {
        {SYS_STEP_CREATE_WINDOW, "Window Creation Error."},
        {SYS_STEP_GET_DC, "Can't Create A GL Device Context."},
        {SYS_STEP_CHOOSE_PIXEL_FORMAT, "Can't Find A Suitable PixelFormat."},
        {SYS_STEP_SET_PIXEL_FORMAT, "Can't Set The PixelFormat."},
        {SYS_STEP_CREATE_CONTEXT, "Can't Create A GL Rendering Context."},
        {SYS_STEP_MAKE_CURRENT, "Can't Activate The GL Rendering Context."},
        {SYS_STEP_REGISTER_CLASS, "Failed To Register The Window Class."},
    };
    for (const auto &c : cases) {
        int before = Sys_BoxCount();
        Sys_FailStep(c.step, true);
        EXPECT_FALSE(openGameWindow("Cobalt Overdrive", 640, 480, 32, false)) << c.text;
        EXPECT_EQ(Sys_BoxCount() - before, 1) << c.text;
        EXPECT_EQ(lastText(), c.text);
        EXPECT_EQ(lastTitle(), "ERROR");
        EXPECT_EQ(Sys_Box(Sys_BoxCount() - 1).flags, unsigned(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_FALSE(windowHandle || deviceContext || renderContext) << "left open after: " << c.text;
        Sys_FailStep(c.step, false);
    }
    // The layer is still usable afterwards.
    EXPECT_TRUE(openGameWindow("Cobalt Overdrive", 640, 480, 32, false));
}

// A failing release shows nothing for what was never opened, and a shutdown error once it was.
TEST_F(Window, ReleasesAreTriedOnlyForWhatWasOpenedAndTheirFailuresAreShutdownErrors)
{
    Sys_FailStep(SYS_STEP_DELETE_CONTEXT, true);
    Sys_FailStep(SYS_STEP_RELEASE_DC, true);
    Sys_FailStep(SYS_STEP_GET_DC, true);
    EXPECT_FALSE(openGameWindow("Cobalt Overdrive", 640, 480, 32, false));
    EXPECT_EQ(newBoxes(), 1);
    EXPECT_EQ(lastText(), "Can't Create A GL Device Context.");

    Sys_FailStep(SYS_STEP_GET_DC, false);
    Sys_FailStep(SYS_STEP_RELEASE_DC, false);
    ASSERT_TRUE(openGameWindow("Cobalt Overdrive", 640, 480, 32, false));
    closeGameWindow();
    EXPECT_EQ(lastText(), "Release Rendering Context Failed.");
    EXPECT_EQ(lastTitle(), "SHUTDOWN ERROR");
    EXPECT_EQ(Sys_Box(Sys_BoxCount() - 1).flags, unsigned(MB_OK | MB_ICONINFORMATION));
}

// (Opening with a current context is what every game run and GL test does first; a mode the
// display lacks, offered as a window and taken or refused, is the e2e game test's.)
TEST_F(Window, DisplayModesAreMatchedBySizeOnlyAndTheDisplaysOwnCanBeTakenAndGivenBack)
{
    ASSERT_TRUE(openGameWindow("Cobalt Overdrive", 640, 480, 32, false));
    int w, h, bits;
    ASSERT_TRUE(Sys_EnumDisplayModes(0, &w, &h, &bits)) << "the display lists at least its own mode";
    EXPECT_TRUE(isModeAvailable(w, h));
    EXPECT_FALSE(isModeAvailable(w + 1, h));
    ASSERT_TRUE(Sys_ChangeDisplayMode(w, h, 32));
    Sys_RestoreDisplayMode();
    closeGameWindow();
    EXPECT_FALSE(windowHandle || deviceContext || renderContext);
}

} // namespace
