// The game refuses to start on a driver without the extensions it draws with. Mesa can hide
// an extension from the extension string, which is all the start-up check reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string runGameWithout(const std::string &extension)
{
    std::string command = "MESA_EXTENSION_OVERRIDE=-" + extension + " '" COBALT_GAME_BINARY
                          "' --windowed --frames 3 --auto-answer yes --no-browser 2>&1";
    std::string output;
    if (FILE *p = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, p))
            output += buffer;
        pclose(p);
    }
    return output;
}

TEST(InitGraphicsFailureTest, EachMissingRequiredExtensionFailsInitialisation)
{
    for (const char *extension : {"GL_ARB_multitexture", "GL_EXT_texture_env_combine", "GL_ARB_shader_objects",
                                  "GL_ARB_shading_language_100"}) {
        SCOPED_TRACE(extension);
        EXPECT_NE(runGameWithout(extension).find("Initialization Failed."), std::string::npos);
    }
    // And with nothing hidden the same start succeeds.
    EXPECT_EQ(runGameWithout("GL_NV_no_such_extension").find("Initialization Failed."), std::string::npos);
}

} // namespace
