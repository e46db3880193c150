// The game refuses to start on a driver without the extensions it draws with. Mesa can hide
// an extension from the extension string, which is all the start-up check reads.
#include "support/game_run.h"

#include <gtest/gtest.h>

namespace {

GameRun runGameWithout(const std::string &extension)
{
    TempDir dir; // the game's own data files are written here, not into the shared content
    linkContent(dir);
    return runGame(dir, {"--windowed", "--frames", "3", "--auto-answer", "yes", "--no-browser"}, 120,
                   {{"MESA_EXTENSION_OVERRIDE", "-" + extension}});
}

// Told to hide any one extension, Mesa also drops the ones it always offers (every required one
// among them), so whichever is hidden the start fails the same way, naming the first it checks.
TEST(InitGraphicsFailureTest, AMissingRequiredExtensionFailsInitialisation)
{
    GameRun r = runGameWithout("GL_EXT_framebuffer_object");
    ASSERT_FALSE(r.timedOut);
    EXPECT_NE(r.stderrText.find("Initialization Failed."), std::string::npos) << r.stderrText;
    EXPECT_NE(r.stderrText.find("cobalt-overdrive: the OpenGL driver lacks GL_"), std::string::npos) << r.stderrText;
    EXPECT_EQ(r.exitCode, 1) << "a start that failed is no success";
    // And with nothing hidden the same start succeeds.
    GameRun clean = runGameWithout("GL_NV_no_such_extension");
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(clean.stderrText.find("Initialization Failed."), std::string::npos) << clean.stderrText;
}

} // namespace
