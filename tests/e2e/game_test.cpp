// The game binary driven exactly as a player would drive it: flags, scripted input, and what
// it leaves behind (trace, screenshots, recorded sound, data files).
#include "formats/images.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

struct Game : ::testing::Test {
    TempDir dir;
    void SetUp() override { linkContent(dir); }
    std::string at(const char *rel) const { return dir.file(rel); }
};

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // top row first
    const unsigned char *at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

uint32_t be32(const unsigned char *p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// The game's screenshots are PNGs with one IDAT chunk right after the IHDR, holding stored
// (uncompressed) deflate blocks of filter 0 rows, which is all this reads.
bool readScreenshot(const std::string &path, Picture *out)
{
    std::vector<unsigned char> png = readBytes(path);
    if (png.size() < 45 || std::memcmp(&png[37], "IDAT", 4) != 0 || png[24] != 8 || png[25] != 2)
        return false; // 8-bit RGB only
    out->width = int(be32(&png[16]));
    out->height = int(be32(&png[20]));
    size_t stride = size_t(out->width) * 3 + 1, end = std::min<size_t>(41 + be32(&png[33]), png.size());
    std::vector<unsigned char> raw;
    for (size_t p = 43; p + 5 <= end;) { // each block: a flag byte, its length twice, the bytes
        size_t n = png[p + 1] | png[p + 2] << 8;
        if ((png[p] >> 1) & 3 || p + 5 + n > end)
            return false; // compressed or cut short: not what the game writes
        raw.insert(raw.end(), png.begin() + long(p + 5), png.begin() + long(p + 5 + n));
        p += 5 + n;
    }
    if (raw.size() != stride * out->height)
        return false;
    out->rgb.clear();
    for (int y = 0; y < out->height; y++)
        out->rgb.insert(out->rgb.end(), raw.begin() + long(y * stride + 1), raw.begin() + long((y + 1) * stride));
    return true;
}

// A loading picture stretched over the screen, sampled at screen pixel (x, y from the top).
const unsigned char *imageAt(const RgbImage &image, const Picture &screen, int x, int y)
{
    int ix = int(int64_t(x) * image.width / screen.width);
    int iyFromTop = int(int64_t(y) * image.height / screen.height);
    return image.data + (size_t(image.height - 1 - iyFromTop) * image.width + ix) * 3;
}

// Mean colour difference over an 8 x 8 grid of block averages: filtering changes single pixels,
// not the average of a block.
double blockDifference(const RgbImage &image, const Picture &screen)
{
    double total = 0;
    for (int by = 0; by < 8; by++)
        for (int bx = 0; bx < 8; bx++)
            for (int c = 0; c < 3; c++) {
                double a = 0, b = 0;
                int n = 0;
                for (int y = by * screen.height / 8; y < (by + 1) * screen.height / 8; y += 3)
                    for (int x = bx * screen.width / 8; x < (bx + 1) * screen.width / 8; x += 3, n++) {
                        a += screen.at(x, y)[c];
                        b += imageAt(image, screen, x, y)[c];
                    }
                total += std::abs(a - b) / n;
            }
    return total / (8 * 8 * 3);
}

// The loading screen as the player sees it: the first picture until the clock passes 7 s, then
// the second, then the main menu at 8 s. ("Loading..." over the second is the 2D content's GL test.)
TEST_F(Game, LoadsForEightSecondsThenShowsTheMainMenuAndSavesBothFiles)
{
    GameRun r = runGame(dir, {"--windowed", "--frames", "1000", "--fixed-frame-ms", "10", "--no-browser",
                              "--trace", "t.jsonl", "--screenshot", "400:early.png", "--screenshot", "770:late.png"});
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
    EXPECT_LT(std::stod(traceField(lines[400], "loadingClock")), 7.0);
    EXPECT_GT(std::stod(traceField(lines[770], "loadingClock")), 7.0);
    EXPECT_EQ(traceField(lines[size_t(loadingEnd)], "gameState"), "1");
    EXPECT_EQ(traceField(lines.back(), "frameTime"), "1");
    EXPECT_EQ(traceField(lines.back(), "frame"), "999");
    for (const char *key : {"fps", "shownState"})
        EXPECT_FALSE(traceField(lines.back(), key).empty()) << key;
    EXPECT_EQ(readBytes(at("base/menu.inf")).size(), 24u);
    EXPECT_EQ(readBytes(at("base/career.inf")).size(), 712u);

    std::unique_ptr<RgbImage, void (*)(RgbImage *)> first(loadBmpImage(COBALT_BASE_DIR "/textures/tex42.bmp"), freeRgbImage);
    std::unique_ptr<RgbImage, void (*)(RgbImage *)> second(loadBmpImage(COBALT_BASE_DIR "/textures/tex41.bmp"), freeRgbImage);
    ASSERT_TRUE(first && second);
    Picture early, late;
    ASSERT_TRUE(readScreenshot(at("early.png"), &early));
    ASSERT_TRUE(readScreenshot(at("late.png"), &late));
    double earlyFirst = blockDifference(*first, early), earlySecond = blockDifference(*second, early);
    double lateFirst = blockDifference(*first, late), lateSecond = blockDifference(*second, late);
    EXPECT_LT(earlyFirst, 6.0);
    EXPECT_LT(earlyFirst, earlySecond);
    EXPECT_LT(lateSecond, 6.0);
    EXPECT_LT(lateSecond, lateFirst);
}

// The virtual display has no 1024x768 mode: the game offers a window. Refused, the game ends
// without touching the files; accepted, it runs in the window and writes the settings back unchanged.
TEST_F(Game, AModeTheDisplayLacksOffersAWindowThatIsRefusedOrTaken)
{
    auto settings = words({2, 32, 24, 1, 0, 5});
    writeBytes(at("base/menu.inf"), settings);
    GameRun refused = runGame(dir, {"--frames", "5", "--no-browser", "--auto-answer", "no"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.stderrText.find("Program Will Now Close."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(at("base/career.inf")));

    GameRun r = runGame(dir, {"--frames", "6", "--fixed-frame-ms", "10", "--no-browser", "--auto-answer", "yes",
                              "--screenshot", "3:shot.png"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_NE(r.stderrText.find("[Display]"), std::string::npos) << r.stderrText;
    Picture shot;
    ASSERT_TRUE(readScreenshot(at("shot.png"), &shot));
    EXPECT_EQ(shot.width, 1024);
    EXPECT_EQ(shot.height, 768);
    EXPECT_EQ(readBytes(at("base/menu.inf")), settings);
}

// Scripted focus changes, keys and the window's close reach the game as window messages; closing
// still saves both files and opens the statistics page in the browser, here a stand-in that
// records what it was asked to open. (What the keys do once they arrive, F held with Space for
// one, is the shell's unit tests'.)
TEST_F(Game, ScriptedInputReachesTheGameAndClosingSavesAndOpensTheStatistics)
{
    std::ofstream(at("input.txt")) << "# focus and keys\n"
                                      "20 focus off\n"
                                      "40 focus on\n"
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
    auto lines = traceLines(at("t.jsonl"));
    ASSERT_EQ(lines.size(), 80u) << "closing the window at frame 80 ends the loop";
    EXPECT_EQ(traceField(lines[19], "windowActive"), "true");
    EXPECT_EQ(traceField(lines[20], "windowActive"), "false");
    EXPECT_EQ(traceField(lines[39], "windowActive"), "false");
    EXPECT_EQ(traceField(lines[40], "windowActive"), "true");
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
