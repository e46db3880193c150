// A race in a window, driven by the autopilot: a picture of the HUD during the race (kept in the
// build folder, pictures/hud, to be looked at), and the proof that the race without a window is
// the same race, frame for frame.
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

TEST(HudPictures, AWindowedRaceShowsTheHudAndRacesAsTheHeadlessOne)
{
    TempDir dir;
    linkContent(dir);
    writeBytes(dir.file("base/menu.inf"), words({0, 32, 24, 1, 0, 5})); // 640 x 480, sound, no music
    // 60 ms frames keep the windowed stretch short on a software rasteriser.
    const std::vector<std::string> race = {"--autopilot", "--race",  "3,0", "--seed", "4", "--fixed-frame-ms",
                                           "60",          "--no-browser"};
    std::vector<std::string> args = race;
    args.insert(args.end(), {"--headless", "--trace", "headless.jsonl"});
    GameRun r = runGame(dir, args, 300);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto headless = traceLines(dir.file("headless.jsonl"));
    long go = firstFrame(headless, "countdownActive", "false");
    ASSERT_GT(go, 0);
    ASSERT_GT(firstFrame(headless, "raceFinished", "true"), go);
    // Twenty seconds of racing in a window: the field has spread out and the HUD shows the
    // race under way. (A whole race takes minutes to draw here; the headless tests run those.)
    long shot = go + 330, frames = shot + 10;

    std::string pictures = std::string(COBALT_BASE_DIR) + "/../pictures/hud";
    std::filesystem::create_directories(pictures);
    std::filesystem::remove(pictures + "/race.png");
    args = race;
    args.insert(args.end(), {"--windowed", "--trace", "window.jsonl", "--frames", std::to_string(frames), "--screenshot",
                             std::to_string(shot) + ":" + pictures + "/race.png"});
    r = runGame(dir, args, 900);
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto window = traceLines(dir.file("window.jsonl"));
    ASSERT_EQ(window.size(), size_t(frames));
    EXPECT_EQ(firstFrame(window, "countdownActive", "false"), go) << "the same race with and without a window";
    for (long f = go; f < frames; f += 30)
        ASSERT_EQ(positions(window[size_t(f)]), positions(headless[size_t(f)])) << "frame " << f;
    auto png = readBytes(pictures + "/race.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(wordAt(png, 4), int(0x80020000)) << "640 wide"; // big-endian in the IHDR
    EXPECT_EQ(wordAt(png, 5), int(0xE0010000)) << "480 high";
}

} // namespace
