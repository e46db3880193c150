// Starts that cannot go on end after their box with a non-zero status and a line on standard error
// that names what failed; data the game can do without is named and the game plays on.
#include "render/texture_names.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kQuickRun = {"--windowed", "--frames", "3", "--fixed-frame-ms", "10", "--no-browser",
                                            "--auto-answer", "yes"};

struct Failures : ::testing::Test {
    TempDir dir;
    std::string at(const std::string &rel) const { return dir.file(rel); }
    bool has(const GameRun &r, const std::string &text) const { return r.stderrText.find(text) != std::string::npos; }
};

// A player who builds and starts build/cobalt-overdrive from the repository's root, or starts an
// installed copy from the desktop: no base/ in the working folder.
TEST_F(Failures, WithoutBaseInTheWorkingFolderTheGameLooksBesideItselfThenWhereAnInstallPutsIt)
{
    fs::remove_all(at("base"));
    fs::create_directories(at("bin"));
    fs::create_directories(at("work"));
    // A copy, not a link: the program finds its folder from its own file.
    fs::copy_file(COBALT_GAME_BINARY, at("bin/cobalt-overdrive"));
    std::string game = at("bin/cobalt-overdrive");
    auto run = [&] {
        std::vector<std::string> args = kQuickRun;
        args.insert(args.end(), {"--trace", "t.jsonl"});
        return runProgram(dir, game, at("work"), args, 120);
    };

    GameRun none = run();
    EXPECT_EQ(none.exitCode, 1);
    for (const char *place : {"work/base", "bin/base", "share/cobalt-overdrive/base"})
        EXPECT_TRUE(has(none, fs::canonical(dir.path).string() + "/" + place)) << place << "\n" << none.stderrText;
    EXPECT_TRUE(has(none, "[ERROR] The game's data folder base/ was not found.")) << none.stderrText;
    EXPECT_FALSE(fs::exists(at("work/t.jsonl"))) << "nothing started";

    // Where an install puts it: found, and the data files are saved there.
    linkContentInto(at("share/cobalt-overdrive/base"));
    GameRun installed = run();
    EXPECT_EQ(installed.exitCode, 0) << installed.stderrText;
    EXPECT_EQ(readBytes(at("share/cobalt-overdrive/base/career.inf")).size(), 712u);
    EXPECT_EQ(traceLines(at("work/t.jsonl")).size(), 3u) << "paths on the command line stay the working folder's";

    // Beside the program comes first.
    linkContentInto(at("bin/base"));
    GameRun beside = run();
    EXPECT_EQ(beside.exitCode, 0) << beside.stderrText;
    EXPECT_EQ(readBytes(at("bin/base/menu.inf")).size(), 24u);
    EXPECT_FALSE(fs::exists(at("bin/base/stats.html.tmp")));
}

TEST_F(Failures, AMissingOrBrokenShaderEndsTheStartWithStatusOneAndItsName)
{
    linkContentInto(at("base"), {"shaders/LightPS.glsl"});

    GameRun missing = runGame(dir, kQuickRun, 120);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(has(missing, "cobalt-overdrive: cannot read base/shaders/LightPS.glsl (No such file or directory)"))
        << missing.stderrText;
    EXPECT_TRUE(has(missing, "[ERROR] Initialization Failed.")) << missing.stderrText;
    EXPECT_FALSE(fs::exists(at("base/career.inf"))) << "a start that failed writes nothing";

    std::ofstream(at("base/shaders/LightPS.glsl")) << "void main() { gl_FragColor = no_such_value; }\n";
    GameRun broken = runGame(dir, kQuickRun, 120);
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(has(broken, "base/shaders/LightVS.glsl and base/shaders/LightPS.glsl do not link")) << broken.stderrText;
    EXPECT_TRUE(has(broken, "[Error linking shaders...]")) << broken.stderrText;
}

// Damaged data files are named and replaced with playable ones; a missing picture leaves what is
// loaded with it untextured (here the late loading picture, loaded on its own), as the game always
// did, but is no longer silent.
TEST_F(Failures, DamagedDataFilesAndAMissingTextureAreNamedAndTheGamePlaysOn)
{
    char missing[32];
    std::snprintf(missing, sizeof missing, "tex%02d.bmp", int(TEX_LOADING_LATE)); // in the interface set
    linkContentInto(at("base"), {std::string("textures/") + missing});
    writeBytes(at("base/menu.inf"), {0xde, 0xad, 0xbe, 0xef, 1, 2, 3, 4, 5, 6});
    writeBytes(at("base/career.inf"), Bytes(300, 0xff));
    GameRun r = runGame(dir, kQuickRun, 120);
    EXPECT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_TRUE(has(r, std::string("cannot read base/textures/") + missing + " (No such file or directory)"))
        << r.stderrText;
    EXPECT_TRUE(has(r, "base/menu.inf is damaged (10 bytes, 24 expected): the default settings are used"))
        << r.stderrText;
    EXPECT_TRUE(has(r, "base/career.inf is damaged (300 bytes, 712 expected): a new career is started"))
        << r.stderrText;
    // (What the settings reader makes of damaged and out-of-range files is the data files' test.)
    auto career = readBytes(at("base/career.inf"));
    ASSERT_EQ(career.size(), 712u);
    EXPECT_EQ(wordAt(career, 176), 350) << "a new career's cash";

    // Files that cannot be saved (here a folder stands where each save's temporary goes) keep
    // what they held; the game still ends in order and names them.
    Bytes settingsBefore = readBytes(at("base/menu.inf")), careerBefore = readBytes(at("base/career.inf"));
    fs::create_directories(at("base/menu.inf.tmp"));
    fs::create_directories(at("base/career.inf.tmp"));
    GameRun unsaved = runGame(dir, kQuickRun, 120);
    EXPECT_EQ(unsaved.exitCode, 0) << unsaved.stderrText;
    EXPECT_TRUE(has(unsaved, "cannot save ./base/menu.inf")) << unsaved.stderrText;
    EXPECT_TRUE(has(unsaved, "cannot save base/career.inf")) << unsaved.stderrText;
    EXPECT_EQ(readBytes(at("base/menu.inf")), settingsBefore);
    EXPECT_EQ(readBytes(at("base/career.inf")), careerBefore);
}

} // namespace
