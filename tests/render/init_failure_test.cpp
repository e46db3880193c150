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

TEST(InitGraphicsFailureTest, EachMissingRequiredExtensionFailsInitialisation)
{
    for (const char *extension : {"GL_ARB_multitexture", "GL_EXT_texture_env_combine", "GL_ARB_shader_objects",
                                  "GL_ARB_shading_language_100", "GL_EXT_framebuffer_object"}) {
        SCOPED_TRACE(extension);
        GameRun r = runGameWithout(extension);
        ASSERT_FALSE(r.timedOut);
        EXPECT_NE(r.stderrText.find("Initialization Failed."), std::string::npos) << r.stderrText;
        // Told to hide any extension, Mesa also drops the ones it always offers (these among
        // them), so the line names whichever the start-up checks first.
        EXPECT_NE(r.stderrText.find("cobalt-overdrive: the OpenGL driver lacks GL_"), std::string::npos) << r.stderrText;
        EXPECT_EQ(r.exitCode, 1) << "a start that failed is no success";
    }
    // And with nothing hidden the same start succeeds.
    GameRun r = runGameWithout("GL_NV_no_such_extension");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.stderrText.find("Initialization Failed."), std::string::npos) << r.stderrText;
}

} // namespace
