// The window and GL context on a real display (Xvfb in CI), with each platform step made to fail
// in turn to check the message the player would see and what is left open.
#include "frontend/frontend.h"
#include "common/common.h"
#include "shell/shell.h"

#include <GL/gl.h>
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

TEST_F(Window, AfterAFailedDeviceContextOnlyTheWindowAndClassAreReleased)
{
    Sys_FailStep(SYS_STEP_GET_DC, true);
    // A failing context release would show a box if it were attempted.
    Sys_FailStep(SYS_STEP_DELETE_CONTEXT, true);
    Sys_FailStep(SYS_STEP_RELEASE_DC, true);
    EXPECT_FALSE(openGameWindow("Cobalt Overdrive", 640, 480, 32, false));
    EXPECT_EQ(newBoxes(), 1);
    EXPECT_EQ(lastText(), "Can't Create A GL Device Context.");
}

TEST_F(Window, ShutdownFailuresAreReportedAsShutdownErrors)
{
    ASSERT_TRUE(openGameWindow("Cobalt Overdrive", 640, 480, 32, false));
    Sys_FailStep(SYS_STEP_DELETE_CONTEXT, true);
    closeGameWindow();
    EXPECT_EQ(lastText(), "Release Rendering Context Failed.");
    EXPECT_EQ(lastTitle(), "SHUTDOWN ERROR");
    EXPECT_EQ(Sys_Box(Sys_BoxCount() - 1).flags, unsigned(MB_OK | MB_ICONINFORMATION));
}

TEST_F(Window, RefusedModeFallsBackToAWindowWhenTheAnswerIsYes)
{
    ASSERT_FALSE(isModeAvailable(1000, 700));
    EXPECT_TRUE(openGameWindow("Cobalt Overdrive", 1000, 700, 32, true));
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(newBoxes(), 1);
    EXPECT_EQ(lastTitle(), "Display");
    EXPECT_EQ(lastText(), "The Requested Display Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?");
    int w, h;
    Sys_GetWindowSize(&w, &h);
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 700);
}

TEST_F(Window, RefusedModeAnsweredNoClosesWithTwoBoxes)
{
    Sys_SetAutoAnswer(IDNO);
    EXPECT_FALSE(openGameWindow("Cobalt Overdrive", 1000, 700, 32, true));
    EXPECT_EQ(newBoxes(), 2);
    EXPECT_EQ(lastText(), "Program Will Now Close.");
    EXPECT_EQ(Sys_Box(Sys_BoxCount() - 1).flags, unsigned(MB_OK | MB_ICONSTOP));
    EXPECT_FALSE(windowHandle);
}

TEST_F(Window, OpensWithACurrentContextAndListsDisplayModesMatchedBySizeOnly)
{
    ASSERT_TRUE(openGameWindow("Cobalt Overdrive", 640, 480, 32, false));
    EXPECT_TRUE(windowHandle && deviceContext && renderContext);
    ASSERT_NE(glGetString(GL_VERSION), nullptr);
    EXPECT_EQ(newBoxes(), 0);
    int w, h, bits;
    ASSERT_TRUE(Sys_EnumDisplayModes(0, &w, &h, &bits)) << "the display lists at least its own mode";
    EXPECT_TRUE(isModeAvailable(w, h));
    EXPECT_FALSE(isModeAvailable(w + 1, h));
    // The display's own mode can be taken full-screen and given back.
    ASSERT_TRUE(Sys_ChangeDisplayMode(w, h, 32));
    Sys_RestoreDisplayMode();
    closeGameWindow();
    EXPECT_FALSE(windowHandle || deviceContext || renderContext);
}

} // namespace
