// A whole race in a window, driven by the autopilot: the pictures of the HUD during the race and
// of the results screen (kept in the build folder, pictures/hud, to be looked at), and the
// proof that the race without a window is the same race, frame for frame.
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The first trace line where a top-level field has this value, or -1.
long firstFrame(const std::vector<std::string> &lines, const char *field, const char *value)
{
    for (size_t i = 0; i < lines.size(); i++)
        if (traceField(lines[i], field) == value)
            return long(i);
    return -1;
}

std::string positions(const std::string &line)
{
    std::string out;
    for (size_t at = line.find("\"position\":"); at != std::string::npos; at = line.find("\"position\":", at + 1))
        out += line.substr(at, line.find(']', at) - at) + " ";
    return out;
}

TEST(HudPictures, AWindowedRaceShowsTheHudAndItsResultsAndRacesAsTheHeadlessOne)
{
    TempDir dir;
    linkContent(dir);
    writeBytes(dir.file("base/menu.inf"), words({0, 32, 24, 1, 0, 5})); // 640 x 480, sound, no music
    // 60 ms frames keep the windowed race short on a software rasteriser.
    const std::vector<std::string> race = {"--autopilot", "--race",  "3,0", "--seed", "4", "--fixed-frame-ms",
                                           "60",          "--no-browser"};
    std::vector<std::string> args = race;
    args.insert(args.end(), {"--headless", "--trace", "headless.jsonl"});
    GameRun r = runGame(dir, args, 300);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto headless = traceLines(dir.file("headless.jsonl"));
    long finish = firstFrame(headless, "raceFinished", "true");
    ASSERT_GT(finish, 0);
    long midRace = finish / 2;

    std::string pictures = std::string(COBALT_BASE_DIR) + "/../pictures/hud";
    std::filesystem::create_directories(pictures);
    std::filesystem::remove(pictures + "/race.png");
    std::filesystem::remove(pictures + "/results.png");
    args = race;
    args.insert(args.end(), {"--windowed", "--trace", "window.jsonl", "--frames", std::to_string(finish + 40),
                             "--screenshot", std::to_string(midRace) + ":" + pictures + "/race.png", "--screenshot",
                             std::to_string(finish + 30) + ":" + pictures + "/results.png"});
    r = runGame(dir, args, 3000);
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto window = traceLines(dir.file("window.jsonl"));
    EXPECT_EQ(firstFrame(window, "raceFinished", "true"), finish) << "the same race with and without a window";
    ASSERT_GT(window.size(), size_t(midRace));
    EXPECT_EQ(positions(window[size_t(midRace)]), positions(headless[size_t(midRace)]));
    EXPECT_EQ(traceField(window[size_t(midRace)], "countdownActive"), "false");
    double shown = std::atof(traceField(window[size_t(finish + 30)], "overlayTimer").c_str());
    EXPECT_GT(shown, 1.0) << "the result is on the screen";
    for (const char *name : {"/race.png", "/results.png"}) {
        auto png = readBytes(pictures + name);
        ASSERT_GT(png.size(), 24u) << name;
        EXPECT_EQ(wordAt(png, 4), int(0x80020000)) << name << ": 640 wide";  // big-endian in the IHDR
        EXPECT_EQ(wordAt(png, 5), int(0xE0010000)) << name << ": 480 high";
    }
}

} // namespace
