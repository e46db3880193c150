// A race in a window, first run without one to find the frame the countdown lets the cars go: a
// picture of the HUD with the player's car under throttle and nitro (kept in the build folder,
// pictures/hud, to be looked at), the proof that the race without a window is the same race,
// frame for frame, and the car effects, which live where they are drawn.
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

TEST(WindowedRace, AWindowedRaceShowsTheHudAndTheCarEffectsAndRacesAsTheHeadlessOne)
{
    TempDir dir;
    linkContent(dir);
    writeBytes(dir.file("base/menu.inf"), words({0, 32, 24, 1, 0, 5})); // 640 x 480, sound, no music
    // 60 ms frames, the game's longest step, keep the windowed stretch short on a software rasteriser.
    const std::vector<std::string> race = {"--fixed-frame-ms", "60", "--no-browser", "--race", "1,2", "--seed", "5"};
    auto run = [&](std::vector<std::string> extra, const std::string &trace, int timeout) {
        extra.insert(extra.end(), race.begin(), race.end());
        extra.insert(extra.end(), {"--trace", trace});
        GameRun r = runGame(dir, extra, timeout);
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, 0) << r.stderrText;
        return traceLines(dir.file(trace));
    };
    long go = firstFrame(run({"--headless", "--frames", "400"}, "grid.jsonl", 300), "countdownActive", "false");
    ASSERT_GT(go, 10);
    std::ofstream(dir.file("keys.txt")) << go << " key down UP\n" << go << " key down SPACE\n";

    // Twenty seconds of racing: the field has spread out and the HUD shows the race under way. (A
    // whole race takes minutes to draw here; the headless tests run those.)
    long shot = go + 330, frames = shot + 10;
    std::string pictures = std::string(COBALT_BASE_DIR) + "/../pictures/hud";
    std::filesystem::create_directories(pictures);
    std::filesystem::remove(pictures + "/race.png");
    auto headless = run({"--headless", "--input", "keys.txt", "--frames", std::to_string(frames)}, "headless.jsonl", 300);
    auto window = run({"--windowed", "--input", "keys.txt", "--frames", std::to_string(frames), "--screenshot",
                       std::to_string(shot) + ":" + pictures + "/race.png"},
                      "window.jsonl", 900);
    ASSERT_EQ(headless.size(), size_t(frames));
    ASSERT_EQ(window.size(), size_t(frames));
    ASSERT_EQ(firstFrame(window, "countdownActive", "false"), go) << "the same start with a window";
    for (long f = go; f < frames; f += 30)
        ASSERT_EQ(positions(window[size_t(f)]), positions(headless[size_t(f)])) << "frame " << f;
    EXPECT_EQ(screenshotSize(readBytes(pictures + "/race.png")), std::make_pair(640u, 480u));

    // The player's exhaust smokes from the grid on with no flame while idling, burns green with the
    // nitro; no tyre dust before the car has moved.
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
