// The music as a player hears it, from the game's own recorded mix. The tests put steady tones
// of their own in base/music (one pitch per tune), so the recording tells which tune plays and
// how loud, frame by frame, next to the trace's musicFade.
#include "support/game_run.h"
#include "support/ogg_tune.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

const int RATE = 44100;
const int FRAME_MS = 40;
const long FRAME_SAMPLES = RATE * FRAME_MS / 1000;
const double AMPLITUDE = 0.5; // of full scale, every tune
// The menu tune first, then the four race tunes. Two and three seconds hold whole periods of
// every pitch, so each tune loops without a seam of its own.
const char *const tuneNames[] = {"menu", "1", "2", "3", "4"};
const double tuneHz[] = {450, 650, 850, 1050, 1250};

struct MusicRun : ::testing::Test {
    TempDir dir;
    void SetUp() override
    {
        linkContentInto(dir.path / "base", {"music"});
        std::filesystem::create_directories(dir.path / "base/music");
        for (int t = 0; t < 5; t++)
            ASSERT_TRUE(writeToneTune(dir.file(std::string("base/music/") + tuneNames[t] + ".ogg"), (t ? 3 : 2) * RATE, RATE,
                                      tuneHz[t], AMPLITUDE));
    }
    // The smallest window keeps the runs quick; musicOn as given.
    void settings(bool music) { writeBytes(dir.file("base/menu.inf"), words({0, 32, 24, 1, music ? 1 : 0, 0})); }
    GameRun run(const std::string &name, int frames, const std::string &input, std::vector<std::string> extra = {})
    {
        std::ofstream(dir.file("keys.txt")) << input;
        std::vector<std::string> args = {"--headless", "--frames", std::to_string(frames), "--fixed-frame-ms",
                                         std::to_string(FRAME_MS), "--no-browser", "--seed", "11", "--input", "keys.txt",
                                         "--trace", name + ".jsonl", "--audio-out", name + ".wav"};
        args.insert(args.end(), extra.begin(), extra.end());
        return runGame(dir, args, 600);
    }
};

// Amplitude of one pitch in the left channel of frame f's stretch of the mix (Hann window, so a
// loud engine elsewhere in the spectrum does not leak into it).
double toneIn(const std::vector<int16_t> &mix, long f, double hz)
{
    double re = 0, im = 0, weight = 0;
    for (long i = 0; i < FRAME_SAMPLES; i++) {
        size_t s = size_t(2 * (f * FRAME_SAMPLES + i));
        if (s >= mix.size())
            break;
        double w = 0.5 - 0.5 * std::cos(2 * M_PI * double(i) / double(FRAME_SAMPLES));
        double a = 2 * M_PI * hz * double(i) / RATE;
        re += w * mix[s] * std::cos(a);
        im += w * mix[s] * std::sin(a);
        weight += w;
    }
    return 2 * std::sqrt(re * re + im * im) / weight / 32768.0;
}

// Below this a pitch is not the tune: the engines, running on under the race and the pause menu,
// put about a hundredth of full scale into some of the tunes' pitches.
const double ABSENT_IN_RACE = 0.02;

double fadeGain(const std::string &line) { return std::clamp(std::atof(traceField(line, "musicFade").c_str()), 0.0, 1.0); }

// The loading screen's eight seconds of game clock, then the main menu, whose tune is silent for
// its first seconds and then in at full level, with no race tune. (That what is heard follows the
// fade frame by frame, and focus and pause, are the race's test below; a tune looping without a
// seam is the music stream's own test.)
TEST_F(MusicRun, TheMenuComesAfterEightSecondsOfLoadingAndItsTuneAfterIt)
{
    settings(true);
    const int frames = 440;
    GameRun r = run("menu", frames, "");
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto lines = traceLines(dir.file("menu.jsonl"));
    auto mix = readMix(dir.file("menu.wav"));
    ASSERT_EQ(lines.size(), size_t(frames));
    ASSERT_EQ(mix.size(), size_t(2 * frames * FRAME_SAMPLES));
    int menuStart = int(firstFrame(lines, "loadingPhase", "false"));
    ASSERT_GT(menuStart, 8000 / FRAME_MS) << "eight seconds of frames after the clock's run-up";
    EXPECT_LE(std::stod(traceField(lines[size_t(menuStart - 1)], "loadingClock")), 8.0);
    EXPECT_GT(std::stod(traceField(lines[size_t(menuStart)], "loadingClock")), 8.0);
    EXPECT_EQ(traceField(lines[size_t(menuStart)], "gameState"), "1");
    for (int f = 1; f < menuStart + 80; f += 3)
        EXPECT_LT(toneIn(mix, f, tuneHz[0]), 0.002) << "silent for 3.75 s of the menu: frame " << f;
    ASSERT_EQ(fadeGain(lines[frames - 2]), 1.0);
    EXPECT_NEAR(toneIn(mix, frames - 2, tuneHz[0]), AMPLITUDE * 0.97, 0.03);
    for (int t = 1; t < 5; t++)
        EXPECT_LT(toneIn(mix, frames - 2, tuneHz[t]), 0.002) << "tune " << tuneNames[t];
}

TEST_F(MusicRun, RaceTunePlaysInTheRaceFocusRestartsItAndPauseStopsIt)
{
    settings(true);
    const int focusOff = 380, focusOn = 400, pause = 580, frames = 640;
    GameRun r = run("race", frames,
                    std::to_string(focusOff) + " focus off\n" + std::to_string(focusOn) + " focus on\n" +
                        std::to_string(pause) + " key down ESCAPE\n" + std::to_string(pause + 2) + " key up ESCAPE\n",
                    {"--race", "1,0"});
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto lines = traceLines(dir.file("race.jsonl"));
    auto mix = readMix(dir.file("race.wav"));
    ASSERT_EQ(lines.size(), size_t(frames));
    int raceStart = int(firstFrame(lines, "loadingPhase", "false"));
    ASSERT_GT(raceStart, 150);
    ASSERT_EQ(traceField(lines[size_t(pause + 1)], "gameState"), "4") << "paused";

    // One race tune, chosen at the track load, is the one heard; the others and the menu tune are not.
    int tune = -1;
    for (int t = 1; t < 5; t++)
        if (toneIn(mix, focusOff - 10, tuneHz[t]) > 0.3)
            tune = t;
    ASSERT_GE(tune, 1) << "no race tune heard at full level";
    for (int t = 0; t < 5; t++)
        for (int f = raceStart; f < frames - 1 && t != tune; f += 5)
            EXPECT_LT(toneIn(mix, f, tuneHz[t]), ABSENT_IN_RACE) << "tune " << tuneNames[t] << " frame " << f;

    for (int f = raceStart + 1; f < frames - 1; f++) {
        const std::string &line = lines[size_t(f)];
        double heard = toneIn(mix, f, tuneHz[tune]);
        if (f > pause || traceField(line, "windowActive") == "false")
            EXPECT_LT(heard, ABSENT_IN_RACE) << "stopped: frame " << f;
        else
            EXPECT_NEAR(heard, AMPLITUDE * 0.97 * fadeGain(line), 0.04) << "frame " << f;
    }
    // After focus comes back the tune starts again from silence with the fade.
    EXPECT_LT(fadeGain(lines[size_t(focusOn + 80)]), 0.01);
    EXPECT_GT(fadeGain(lines[size_t(focusOn + 170)]), 0.99);
}

TEST_F(MusicRun, MusicSwitchedOffInTheSettingsIsNeverHeard)
{
    settings(false);
    const int frames = 340; // the race tune would be heard from about frame 300
    GameRun r = run("off", frames, "", {"--race", "2,1"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto mix = readMix(dir.file("off.wav"));
    ASSERT_EQ(mix.size(), size_t(2 * frames * FRAME_SAMPLES));
    for (int t = 0; t < 5; t++)
        for (int f = 0; f < frames - 1; f += 3)
            EXPECT_LT(toneIn(mix, f, tuneHz[t]), ABSENT_IN_RACE) << "tune " << tuneNames[t] << " frame " << f;
}

} // namespace
