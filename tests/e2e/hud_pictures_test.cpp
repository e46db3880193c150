// Races in a window, each first run without one to find the frame the countdown lets the cars go:
// a picture of the HUD during an autopilot race (kept in the build folder, pictures/hud, to be
// looked at) with the proof that the race without a window is the same race, frame for frame; and
// the car effects, which live where they are drawn.
#include "support/game_run.h"

#include <gtest/gtest.h>

namespace {

std::string positions(const std::string &line)
{
    std::string out;
    for (size_t at = line.find("\"position\":"); at != std::string::npos; at = line.find("\"position\":", at + 1))
        out += line.substr(at, line.find(']', at) - at) + " ";
    return out;
}

struct WindowedRace : ::testing::Test {
    TempDir dir;
    // The race's flags; 60 ms frames, the game's longest step, keep the windowed stretch short on
    // a software rasteriser.
    std::vector<std::string> race = {"--fixed-frame-ms", "60", "--no-browser"};
    std::vector<std::string> headless, window;
    long go = -1;
    void SetUp() override
    {
        linkContent(dir);
        writeBytes(dir.file("base/menu.inf"), words({0, 32, 24, 1, 0, 5})); // 640 x 480, sound, no music
    }
    // The race without a window, with the flags in `extra`.
    void runHeadless(std::vector<std::string> extra)
    {
        extra.insert(extra.end(), race.begin(), race.end());
        extra.insert(extra.end(), {"--headless", "--trace", "headless.jsonl"});
        GameRun r = runGame(dir, extra, 300);
        ASSERT_EQ(r.exitCode, 0) << r.stderrText;
        headless = traceLines(dir.file("headless.jsonl"));
        go = firstFrame(headless, "countdownActive", "false");
        ASSERT_GT(go, 10);
    }
    // The same race in a window for `frames` frames: it starts on the same frame.
    void runInWindow(long frames, std::vector<std::string> extra)
    {
        extra.insert(extra.end(), race.begin(), race.end());
        extra.insert(extra.end(), {"--windowed", "--trace", "window.jsonl", "--frames", std::to_string(frames)});
        GameRun r = runGame(dir, extra, 900);
        ASSERT_FALSE(r.timedOut);
        ASSERT_EQ(r.exitCode, 0) << r.stderrText;
        window = traceLines(dir.file("window.jsonl"));
        ASSERT_EQ(window.size(), size_t(frames));
        ASSERT_EQ(firstFrame(window, "countdownActive", "false"), go) << "the same start with a window";
    }
};

TEST_F(WindowedRace, AWindowedRaceShowsTheHudAndRacesAsTheHeadlessOne)
{
    race.insert(race.end(), {"--autopilot", "--race", "3,0", "--seed", "4"});
    ASSERT_NO_FATAL_FAILURE(runHeadless({}));
    ASSERT_GT(firstFrame(headless, "raceFinished", "true"), go);
    // Twenty seconds of racing in a window: the field has spread out and the HUD shows the
    // race under way. (A whole race takes minutes to draw here; the headless tests run those.)
    long shot = go + 330, frames = shot + 10;
    std::string pictures = std::string(COBALT_BASE_DIR) + "/../pictures/hud";
    std::filesystem::create_directories(pictures);
    std::filesystem::remove(pictures + "/race.png");
    ASSERT_NO_FATAL_FAILURE(runInWindow(frames, {"--screenshot", std::to_string(shot) + ":" + pictures + "/race.png"}));
    for (long f = go; f < frames; f += 30)
        ASSERT_EQ(positions(window[size_t(f)]), positions(headless[size_t(f)])) << "frame " << f;
    auto png = readBytes(pictures + "/race.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(wordAt(png, 4), int(0x80020000)) << "640 wide"; // big-endian in the IHDR
    EXPECT_EQ(wordAt(png, 5), int(0xE0010000)) << "480 high";
}

// The player's exhaust smokes from the grid on with no flame while idling, burns green with the
// nitro; no tyre dust before the car has moved.
TEST_F(WindowedRace, TheExhaustSmokesOnTheGridAndBurnsGreenWithTheNitro)
{
    race.insert(race.end(), {"--race", "1,2", "--seed", "5"});
    ASSERT_NO_FATAL_FAILURE(runHeadless({"--frames", "400"}));
    std::ofstream(dir.file("keys.txt")) << go << " key down UP\n" << go << " key down SPACE\n";
    ASSERT_NO_FATAL_FAILURE(runInWindow(go + 12, {"--input", "keys.txt"}));
    auto effect = [&](long frame, const char *kind) {
        const std::string &l = window[size_t(frame)];
        size_t at = l.find(std::string("\"") + kind + "\":{", l.find("\"effects\":"));
        return at == std::string::npos ? std::string() : l.substr(at, l.find('}', at) - at);
    };
    EXPECT_GT(traceNumber(effect(go - 2, "smoke"), "live"), 0) << "exhaust smoke while the grid waits";
    EXPECT_EQ(traceField(effect(go - 2, "dust"), "emitting"), "false");
    EXPECT_EQ(traceNumber(effect(go - 2, "fire"), "live"), 0);
    EXPECT_EQ(traceList(effect(go + 10, "fire"), "colour"), (std::vector<double>{0, 1, 0}));
    EXPECT_GT(traceNumber(effect(go + 10, "fire"), "live"), 0);
}

} // namespace
