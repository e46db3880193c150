// A seeded quick race driven through the game binary with scripted input, once on the keys and
// once on a virtual pad: what the trace and the recorded sound show must be what the player would
// see and hear; the pad drives as the keys do, never steers harder than they do, shakes on a
// crash, comes and goes mid-race. The races run without a window: the windowed game runs the
// same race frame for frame (the HUD pictures test holds it to that). (The pad in the menus and
// on the Controls screen is checked in the shell's unit tests.)
#include "formats/controls_file.h"
#include "platform/wav_write.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <regex>

namespace {

// The same race twice from frame 1420, when the countdown has let the cars go: once on the keys,
// once on a pad pushed all the way, until the pad steers with half a stick while reversing.
const char *const kKeys = "1420 key down UP\n1420 key down SPACE\n1600 key up SPACE\n"
                          "1650 key down C\n1660 key up C\n"
                          "1700 key down LEFT\n1760 key up LEFT\n"   // into the barrier
                          "1800 key up UP\n1800 key down DOWN\n"     // braking to a stop
                          "1950 key up DOWN\n1960 key down DOWN\n"   // reverse
                          "2040 key down LEFT\n2100 key up LEFT\n2100 key up DOWN\n";
const char *const kPad = "10 pad 1 connect\n"
                         "1420 pad 1 axis RT 1\n1420 pad 1 down A\n1600 pad 1 up A\n"
                         "1650 pad 1 down Y\n1660 pad 1 up Y\n"
                         "1700 pad 1 axis LEFTX -1\n1760 pad 1 axis LEFTX 0\n"
                         "1800 pad 1 axis RT 0\n1800 pad 1 axis LT 1\n"
                         "1950 pad 1 axis LT 0\n1960 pad 1 axis LT 1\n"
                         "2040 pad 1 axis LEFTX -0.5\n2100 pad 1 axis LEFTX 0\n2100 pad 1 axis LT 0\n"
                         // Start pauses, A continues; a second pad plugged in meanwhile plays
                         // only once the first is pulled out in the middle of the race.
                         "2110 pad 1 down START\n2111 pad 1 up START\n2115 pad 2 connect\n"
                         "2125 pad 1 down A\n2128 pad 1 up A\n"
                         "2130 pad 1 axis RT 1\n2140 pad 2 down START\n2141 pad 2 up START\n"
                         "2150 pad 1 disconnect\n2170 pad 2 axis RT 1\n2180 pad 2 disconnect\n";
constexpr int kHalfStickFrom = 2040, kFrames = 2200;
const char *const kCrashSounds[] = {"cr0.wav", "cr1.wav", "cr2.wav", "cr3.wav"}; // in base/sound

// Track 1 in car 2 with seed 5, its trace and its recorded mix. The pad plays with a damaged
// controls file, so it must find the game's own layout, and with the crash samples silenced:
// until the half stick its race is the keys' race, so its mix against theirs is the crash alone.
struct Race {
    TempDir dir;
    GameRun run;
    std::vector<std::string> lines;
    Race(const char *script, bool pad)
    {
        std::vector<std::string> silenced; // the crash samples, written as silence below
        if (pad)
            for (const char *crash : kCrashSounds)
                silenced.push_back(std::string("sound/") + crash);
        linkContentInto(dir.path / "base", silenced);
        if (pad) {
            dir.write("base/controls.inf", Bytes(kControlsFileSize, 0x5A));
            std::vector<int16_t> silence(44100);
            for (const char *crash : kCrashSounds)
                Sys_WriteWav(dir.file(std::string("base/sound/") + crash).c_str(), 1, 44100, silence.data(), 44100);
        }
        dir.write("input.txt", Bytes(script, script + std::strlen(script)));
        run = runGame(dir, {"--headless", "--frames", std::to_string(kFrames), "--fixed-frame-ms", "10", "--no-browser",
                            "--seed", "5", "--race", "1,2", "--input", "input.txt", "--trace", "t.jsonl", "--audio-out",
                            "mix.wav"},
                      300);
        lines = traceLines(dir.file("t.jsonl"));
    }
};

// Each race is run once, for every test here that looks at it.
const Race &keysRace()
{
    static Race race(kKeys, false);
    return race;
}
const Race &padRace()
{
    static Race race(kPad, true);
    return race;
}

// The crash samples started so far (cr0..cr3, the 5th to 8th entries of soundPlays).
std::vector<double> crashPlays(const std::string &line)
{
    std::vector<double> plays = traceList(line, "soundPlays");
    return plays.size() == 16 ? std::vector<double>(plays.begin() + 4, plays.begin() + 8) : plays;
}

// The first frame from 1421 on where a crash sample starts, or -1.
int crashFrame(const std::vector<std::string> &lines)
{
    for (size_t f = 1421; f < lines.size(); f++)
        if (crashPlays(lines[f]) != crashPlays(lines[f - 1]))
            return int(f);
    return -1;
}

TEST(RaceRun, CountdownHoldsTheGridThenTheKeysDriveAndAWallIsHeard)
{
    const Race &keys = keysRace();
    ASSERT_FALSE(keys.run.timedOut);
    ASSERT_EQ(keys.run.exitCode, 0) << keys.run.stderrText;
    EXPECT_NE(keys.run.stdoutText.find("race track=1 car=2 finished=no "), std::string::npos)
        << "the frames ended the run mid-race: " << keys.run.stdoutText;
    const std::vector<std::string> &lines = keys.lines;
    ASSERT_EQ(lines.size(), size_t(kFrames));

    // The countdown holds every car until it lets them go (its six seconds are the race's own test;
    // the first second lets the cars settle on their springs).
    long go = firstFrame(lines, "countdownActive", "false");
    ASSERT_GT(go, 1000);
    EXPECT_EQ(traceNumber(lines[size_t(go - 1)], "raceClock"), 0.0);
    for (long f = go - 450; f < go; f++)
        for (int c = 0; c < 4; c++) {
            auto a = traceList(carText(lines[size_t(f)], c), "position");
            auto b = traceList(carText(lines[size_t(f - 1)], c), "position");
            ASSERT_EQ(a.size(), 3u);
            for (int k = 0; k < 3; k++)
                ASSERT_NEAR(a[size_t(k)], b[size_t(k)], 1e-3) << "car " << c << " moved at frame " << f;
        }
    EXPECT_EQ(traceNumber(carText(lines[size_t(go)], 0), "model"), 2.0) << "the car chosen with --race";

    // Throttle and nitro: first gear at 1.5 times 140 x power x 1.15, the gears only going up;
    // Left turns. (How fast the nitro burns is the vehicle test's.)
    EXPECT_NEAR(traceNumber(carText(lines[1430], 0), "driveForce"), 140 * 0.53 * 1.15 * 1.5, 0.5);
    int gear = 0;
    for (int i = 1421; i < 1700; i++) {
        int g = int(traceNumber(carText(lines[size_t(i)], 0), "gear"));
        EXPECT_GE(g, gear) << "frame " << i;
        gear = g;
    }
    EXPECT_GE(gear, 3);
    EXPECT_GT(traceNumber(carText(lines[1750], 0), "steer"), 0.5) << "Left raises the steering";

    // The turn ends in the barrier: a crash sample is started and heard. The three computer cars
    // race alongside with their engines up, so the crash is found as what it adds to the mix: the
    // pad's race, the same with the crash samples silenced, differs from the impact on and not before.
    int crash = crashFrame(lines);
    ASSERT_GT(crash, 1700) << "no crash sound was played";
    ASSERT_EQ(readBytes(keys.dir.file("mix.wav")).size(), 44u + kFrames / 100 * 44100 * 4) << "22 s of game clock";
    auto withCrash = readBytes(keys.dir.file("mix.wav")), withoutCrash = readBytes(padRace().dir.file("mix.wav"));
    ASSERT_EQ(withCrash.size(), withoutCrash.size());
    auto difference = [&](double t0, double t1) {
        double sum = 0;
        size_t n = 0;
        for (size_t s = 44 + 4 * size_t(t0 * 44100); s + 1 < 44 + 4 * size_t(t1 * 44100); s += 2, n++) {
            int a = int16_t(withCrash[s] | withCrash[s + 1] << 8), b = int16_t(withoutCrash[s] | withoutCrash[s + 1] << 8);
            sum += double(a - b) * double(a - b);
        }
        return std::sqrt(sum / double(n));
    };
    double t = crash / 100.0;
    EXPECT_EQ(difference(t - 1.0, t - 0.02), 0.0) << "nothing differs before the impact";
    EXPECT_GT(difference(t, t + 0.3), 1000.0) << "the crash is heard in the mix";
}

TEST(PadRace, APadDrivesAsTheKeysDoNeverSteersHarderShakesOnACrashAndMayBePulledOut)
{
    const std::vector<std::string> &keys = keysRace().lines, &pad = padRace().lines;
    EXPECT_EQ(padRace().run.exitCode, 0) << padRace().run.stderrText;
    ASSERT_EQ(keys.size(), size_t(kFrames));
    ASSERT_EQ(pad.size(), size_t(kFrames));

    // Pushed all the way, the pad is the keys: the same race to the last digit, camera included
    // (but for the pad's own fields, and the load's time on the wall clock).
    const std::regex padFields(",\"pad(Connected|Rumble)\":[^,}]*"), loadTime(",\"raceLoadMs\":[^,}]*");
    for (int f = 0; f < kHalfStickFrom; f++)
        ASSERT_EQ(std::regex_replace(std::regex_replace(pad[size_t(f)], padFields, ""), loadTime, ""),
                  std::regex_replace(keys[size_t(f)], loadTime, ""))
            << "frame " << f;
    EXPECT_EQ(traceField(pad[1700], "cameraMode"), "1");
    EXPECT_EQ(traceField(pad[15], "padConnected"), "true");
    EXPECT_EQ(traceField(keys[15], "padConnected"), "") << "a run without a pad keeps its trace as it was";

    // The barrier shakes the pad as hard as its crash band says.
    int crash = crashFrame(pad);
    ASSERT_GT(crash, 1700) << "no crash";
    ASSERT_LT(crash, 1800);
    EXPECT_EQ(traceNumber(pad[size_t(crash - 1)], "padRumble"), 0);
    std::vector<double> before = crashPlays(pad[size_t(crash - 1)]), after = crashPlays(pad[size_t(crash)]);
    int band = 0;
    while (band < 4 && after[size_t(band)] == before[size_t(band)])
        band++;
    EXPECT_FLOAT_EQ(float(traceNumber(pad[size_t(crash)], "padRumble")), 0.25f * float(band + 1));

    // Half a stick asks for less than full lock. (That no stick turns the wheels faster than the
    // keys is the steering test's, over every stick position.)
    double most = 0;
    for (int f = kHalfStickFrom; f < 2100; f++)
        most = std::max(most, traceNumber(carText(pad[size_t(f)], 0), "steer"));
    EXPECT_GT(most, 0.2);
    EXPECT_LE(most, 0.35 + 1e-6) << "half a stick turns at most half way";

    // Start pauses and A on "Continue" goes on without a burst of nitro from the held button.
    EXPECT_EQ(traceField(pad[2112], "gameState"), "4");
    EXPECT_EQ(traceField(pad[2127], "gameState"), "0");
    EXPECT_EQ(traceNumber(carText(pad[2129], 0), "nitro"), traceNumber(carText(pad[2112], 0), "nitro"));
    // The second pad's Start does nothing while the first plays; pulling the first out leaves
    // the race running with nothing pushed, and the second takes over.
    EXPECT_EQ(traceField(pad[2145], "gameState"), "0");
    EXPECT_GT(traceNumber(carText(pad[2149], 0), "driveForce"), 0);
    EXPECT_EQ(traceNumber(carText(pad[2152], 0), "driveForce"), 0);
    EXPECT_EQ(traceField(pad[2152], "gameState"), "0");
    EXPECT_EQ(traceField(pad[2152], "padConnected"), "true");
    EXPECT_GT(traceNumber(carText(pad[2175], 0), "driveForce"), 0);
    EXPECT_EQ(traceField(pad[2185], "padConnected"), "false");
    EXPECT_EQ(traceNumber(carText(pad[2185], 0), "driveForce"), 0);
    EXPECT_EQ(traceField(pad[2199], "gameState"), "0");
}

} // namespace
