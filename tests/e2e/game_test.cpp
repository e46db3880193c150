// The game binary driven exactly as a player would drive it: flags, scripted input, and what
// it leaves behind (trace, screenshots, recorded sound, data files).
#include "support/game_run.h"

#include <gtest/gtest.h>

namespace {

struct Game : ::testing::Test {
    TempDir dir;
    void SetUp() override { linkContent(dir); }
    std::string at(const char *rel) const { return dir.file(rel); }
};

// The virtual display has no 1024x768 mode: the game offers a window. Refused, the game ends
// without touching the files; accepted, it runs in the window and writes the settings back
// unchanged, and ends normally with no browser to open the statistics page in.
TEST_F(Game, AModeTheDisplayLacksOffersAWindowThatIsRefusedOrTaken)
{
    auto settings = words({2, 32, 24, 1, 0, 5});
    writeBytes(at("base/menu.inf"), settings);
    GameRun refused = runGame(dir, {"--frames", "5", "--no-browser", "--auto-answer", "no"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.stderrText.find("Program Will Now Close."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(at("base/career.inf")));

    GameRun r = runGame(dir, {"--frames", "6", "--fixed-frame-ms", "10", "--auto-answer", "yes", "--screenshot",
                              "3:shot.png"},
                        60, {{"PATH", at("empty")}});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_NE(r.stderrText.find("[Display]"), std::string::npos) << r.stderrText;
    EXPECT_EQ(screenshotSize(readBytes(at("shot.png"))), std::make_pair(1024u, 768u));
    EXPECT_EQ(readBytes(at("base/menu.inf")), settings);
}

// The loading screen's first picture goes up before what it shows later is read; its late
// picture still closes the loading with "Loading..." in the dark corner kept for it.
TEST_F(Game, TheLoadingScreenEndsOnItsLatePictureAndItsText)
{
    writeBytes(at("base/menu.inf"), words({0, 32, 24, 0, 0, 0})); // 640 x 480, no sound
    GameRun r = runGame(dir, {"--windowed", "--frames", "155", "--fixed-frame-ms", "60", "--no-browser",
                              "--screenshot", "150:late.png"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    // The corner is at most 0.05 grey in the picture, the text's glyphs about 0.8.
    EXPECT_GT(pictureGrey(at("late.png"), "maxima", "200x30+410+445"), 0.6) << "the text is drawn";
}

// Scripted keys and the window's close reach the game as window messages; closing still saves
// both files and opens the statistics page in the browser, here a stand-in that records what it
// was asked to open. (Scripted focus changes are heard in the music test's race.)
TEST_F(Game, ScriptedInputReachesTheGameAndClosingSavesAndOpensTheStatistics)
{
    std::ofstream(at("input.txt")) << "# keys\n"
                                      "50 key down F\n"
                                      "52 key up F\n"
                                      "80 close\n";
    std::filesystem::create_directories(at("bin"));
    std::ofstream(at("bin/xdg-open")) << "#!/bin/sh\necho \"$1\" > \"" << at("opened.txt") << "\"\n";
    std::filesystem::permissions(at("bin/xdg-open"), std::filesystem::perms::owner_all);
    GameRun r = runGame(dir, {"--windowed", "--fixed-frame-ms", "10", "--input", "input.txt", "--trace", "t.jsonl",
                              "--frames", "500"},
                        240, {{"PATH", at("bin") + ":" + getenv("PATH")}});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_EQ(r.stderrText.find("cobalt-overdrive:"), std::string::npos) << "whole data names nothing: " << r.stderrText;
    auto lines = traceLines(at("t.jsonl"));
    ASSERT_EQ(lines.size(), 80u) << "closing the window at frame 80 ends the loop";
    EXPECT_EQ(traceField(lines[49], "showFps"), "false");
    EXPECT_EQ(traceField(lines[51], "showFps"), "true");
    EXPECT_EQ(traceField(lines[79], "showFps"), "true");
    EXPECT_EQ(readBytes(at("base/menu.inf")).size(), 24u) << "closing still saves";
    EXPECT_EQ(readBytes(at("base/career.inf")).size(), 712u);
    for (int i = 0; i < 100 && !std::filesystem::exists(at("opened.txt")); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream opened(at("opened.txt"));
    std::string url;
    std::getline(opened, url);
    EXPECT_EQ(url, "file://" + std::filesystem::canonical(dir.path).string() + "/base/stats.html");
    std::string html = textOf(at("base/stats.html"));
    EXPECT_NE(html.find("Cash</td><td>$350"), std::string::npos) << html;
}

// A flag without its value, a value that is not one, an unknown flag and a script that cannot be
// read all end the start with status 2.
TEST_F(Game, BadFlagsAreRefused)
{
    for (std::vector<std::string> bad : {std::vector<std::string>{"--frames", "many"}, {"--frames"},
                                         {"--screenshot", "nocolon.png"}, {"--bogus"}})
        EXPECT_EQ(runGame(dir, bad, 60).exitCode, 2) << bad[0];
    GameRun badScript = runGame(dir, {"--windowed", "--input", "missing.txt", "--no-browser"});
    EXPECT_EQ(badScript.exitCode, 2);
    EXPECT_NE(badScript.stderrText.find("missing.txt"), std::string::npos);
}

} // namespace
