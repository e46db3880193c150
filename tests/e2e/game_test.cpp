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

int pngSize(const std::vector<unsigned char> &png, int which)
{
    const unsigned char *p = png.data() + 16 + 4 * which;
    return p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

TEST_F(Game, LoadsForEightSecondsThenShowsTheMainMenuAndSavesBothFiles)
{
    GameRun r = runGame(dir, {"--windowed", "--frames", "1000", "--fixed-frame-ms", "10", "--no-browser",
                              "--trace", "t.jsonl"});
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto lines = traceLines(at("t.jsonl"));
    ASSERT_EQ(lines.size(), 1000u);
    int loadingEnd = -1;
    for (size_t i = 0; i < lines.size(); i++) {
        if (traceField(lines[i], "loadingPhase") == "false") {
            loadingEnd = int(i);
            break;
        }
        EXPECT_LE(std::stod(traceField(lines[i], "loadingClock")), 8.0);
    }
    ASSERT_GT(loadingEnd, 790) << "about 800 frames of 10 ms after the clock's run-up";
    EXPECT_GT(std::stod(traceField(lines[size_t(loadingEnd)], "loadingClock")), 8.0);
    EXPECT_EQ(traceField(lines[size_t(loadingEnd)], "gameState"), "1");
    EXPECT_EQ(traceField(lines.back(), "frameTime"), "1");
    EXPECT_EQ(traceField(lines.back(), "frame"), "999");
    for (const char *key : {"fps", "shownState"})
        EXPECT_FALSE(traceField(lines.back(), key).empty()) << key;
    EXPECT_EQ(readBytes(at("base/menu.inf")).size(), 24u);
    EXPECT_EQ(readBytes(at("base/career.inf")).size(), 712u);
}

TEST_F(Game, SettingsFileChoosesTheModeAndIsWrittenBackUnchanged)
{
    auto settings = words({2, 32, 24, 1, 0, 5});
    writeBytes(at("base/menu.inf"), settings);
    // The virtual display has no 1024x768 mode: the game offers a window and we accept.
    GameRun r = runGame(dir, {"--frames", "6", "--fixed-frame-ms", "10", "--no-browser", "--auto-answer", "yes",
                              "--screenshot", "3:shot.png"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_NE(r.stderrText.find("[Display]"), std::string::npos) << r.stderrText;
    auto png = readBytes(at("shot.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(pngSize(png, 0), 1024);
    EXPECT_EQ(pngSize(png, 1), 768);
    EXPECT_EQ(readBytes(at("base/menu.inf")), settings);
}

TEST_F(Game, RefusingTheWindowedFallbackEndsWithoutTouchingTheFiles)
{
    writeBytes(at("base/menu.inf"), words({2, 32, 24, 1, 0, 5}));
    GameRun r = runGame(dir, {"--frames", "5", "--no-browser", "--auto-answer", "no"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.stderrText.find("Program Will Now Close."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(at("base/career.inf")));
}

TEST_F(Game, ScriptedInputReachesTheGameAsWindowMessages)
{
    std::ofstream(at("input.txt")) << "# focus and keys\n"
                                      "20 focus off\n"
                                      "40 focus on\n"
                                      "50 key down F\n"
                                      "52 key up F\n"
                                      "60 key down SPACE\n"
                                      "61 key down F\n"
                                      "65 key up F\n"
                                      "66 key up SPACE\n"
                                      "80 close\n";
    GameRun r = runGame(dir, {"--windowed", "--fixed-frame-ms", "10", "--no-browser", "--input", "input.txt",
                              "--trace", "t.jsonl", "--frames", "500"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto lines = traceLines(at("t.jsonl"));
    ASSERT_EQ(lines.size(), 80u) << "closing the window at frame 80 ends the loop";
    EXPECT_EQ(traceField(lines[19], "windowActive"), "true");
    EXPECT_EQ(traceField(lines[20], "windowActive"), "false");
    EXPECT_EQ(traceField(lines[39], "windowActive"), "false");
    EXPECT_EQ(traceField(lines[40], "windowActive"), "true");
    EXPECT_EQ(traceField(lines[49], "showFps"), "false");
    EXPECT_EQ(traceField(lines[51], "showFps"), "true");
    EXPECT_EQ(traceField(lines[79], "showFps"), "true") << "F while Space is held does not toggle";
    EXPECT_EQ(readBytes(at("base/menu.inf")).size(), 24u) << "closing still saves";
    EXPECT_EQ(readBytes(at("base/career.inf")).size(), 712u);
}

TEST_F(Game, RecordedSoundLastsAsLongAsTheGameClock)
{
    GameRun r = runGame(dir, {"--windowed", "--frames", "300", "--fixed-frame-ms", "10", "--no-browser",
                              "--audio-out", "mix.wav"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto wav = readBytes(at("mix.wav"));
    EXPECT_EQ(wav.size(), 44u + 3 * 44100 * 4) << "300 frames of 10 ms = 3 s of 44.1 kHz stereo";
    EXPECT_EQ(wordAt(wav, 6), 44100);
}

TEST_F(Game, ExitOpensTheStatisticsPageInTheBrowser)
{
    // A stand-in browser that records what it was asked to open.
    std::filesystem::create_directories(at("bin"));
    std::ofstream(at("bin/xdg-open")) << "#!/bin/sh\necho \"$1\" > \"" << at("opened.txt") << "\"\n";
    std::filesystem::permissions(at("bin/xdg-open"), std::filesystem::perms::owner_all);
    std::string path = at("bin") + ":" + getenv("PATH");
    GameRun r = runGame(dir, {"--windowed", "--frames", "3", "--fixed-frame-ms", "10"}, 60, {{"PATH", path}});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    for (int i = 0; i < 100 && !std::filesystem::exists(at("opened.txt")); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream opened(at("opened.txt"));
    std::string url;
    std::getline(opened, url);
    EXPECT_EQ(url, "file://" + std::filesystem::canonical(dir.path).string() + "/base/stats.html");
    std::ifstream page(at("base/stats.html"));
    std::string html((std::istreambuf_iterator<char>(page)), {});
    EXPECT_NE(html.find("Cash</td><td>$350"), std::string::npos) << html;

    // Without a browser at all the game still ends normally.
    GameRun none = runGame(dir, {"--windowed", "--frames", "3", "--fixed-frame-ms", "10"}, 60, {{"PATH", at("empty")}});
    EXPECT_EQ(none.exitCode, 0);
}

TEST_F(Game, HelpListsEveryAutomationFlagAndBadFlagsAreRefused)
{
    GameRun r = runGame(dir, {"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char *flag : {"--frames", "--fixed-frame-ms", "--input", "--trace", "--screenshot", "--audio-out",
                             "--seed", "--windowed", "--auto-answer", "--no-browser"})
        EXPECT_NE(r.stdoutText.find(flag), std::string::npos) << flag;
    GameRun bad = runGame(dir, {"--frames", "many"});
    EXPECT_EQ(bad.exitCode, 2);
    GameRun badScript = runGame(dir, {"--windowed", "--input", "missing.txt", "--no-browser"});
    EXPECT_EQ(badScript.exitCode, 2);
    EXPECT_NE(badScript.stderrText.find("missing.txt"), std::string::npos);
}

} // namespace
