// A virtual pad plugged into the game binary through scripted input: it drives a seeded race as
// the keys do, never steers harder than they do, shakes on a crash, comes and goes mid-race. (The
// pad in the menus and on the Controls screen is checked in the shell's unit tests.)
#include "common/controls.h"
#include "platform/sys.h"
#include "platform/sys_pad.h"
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

namespace {

// The player's car object of a trace line.
std::string playerCar(const std::string &line)
{
    size_t at = line.find("{\"number\":0");
    return at == std::string::npos ? "" : line.substr(at, line.find('}', at) - at);
}

// The crash samples started so far (cr0..cr3, the 5th to 8th entries of soundPlays).
std::vector<int> crashPlays(const std::string &line)
{
    size_t at = line.find("\"soundPlays\":[");
    std::vector<int> n;
    const char *p = line.c_str() + at + 14;
    for (int i = 0; i < 8; i++) {
        char *end;
        long v = std::strtol(p, &end, 10);
        p = end + 1;
        if (i >= 4)
            n.push_back(int(v));
    }
    return n;
}

std::vector<std::string> runRace(TempDir &dir, const std::string &script, long frames)
{
    std::ofstream(dir.file("input.txt")) << script;
    GameRun r = runGame(dir, {"--headless", "--frames", std::to_string(frames), "--fixed-frame-ms", "10", "--no-browser",
                              "--seed", "5", "--race", "1,2", "--input", "input.txt", "--trace", "t.jsonl"},
                        300);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.stderrText;
    return traceLines(dir.file("t.jsonl"));
}

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
constexpr int kHalfStickFrom = 2040;

TEST(PadRace, APadDrivesAsTheKeysDoNeverSteersHarderShakesOnACrashAndMayBePulledOut)
{
    TempDir keysDir, padDir;
    linkContent(keysDir);
    linkContent(padDir);
    // A damaged controls file: the pad must find the game's own layout.
    padDir.write("base/controls.inf", Bytes(kControlsFileSize, 0x5A));
    auto keys = runRace(keysDir, kKeys, 2200);
    auto pad = runRace(padDir, kPad, 2200);
    ASSERT_EQ(keys.size(), 2200u);
    ASSERT_EQ(pad.size(), 2200u);

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
    std::string reversing = playerCar(pad[2030]);
    EXPECT_EQ(traceField(reversing, "gear"), "-1") << "the left trigger brakes, then reverses";
    EXPECT_LT(traceNumber(reversing, "driveForce"), 0);
    EXPECT_LT(traceNumber(playerCar(pad[1590]), "nitro"), 100 - 0.12 * 150) << "A burns the nitro";

    // The barrier shakes the pad as hard as its crash band says.
    int crash = -1;
    for (int f = 1421; f < 1800 && crash < 0; f++)
        if (crashPlays(pad[size_t(f)]) != crashPlays(pad[size_t(f - 1)]))
            crash = f;
    ASSERT_GT(crash, 1700) << "no crash";
    EXPECT_EQ(traceNumber(pad[size_t(crash - 1)], "padRumble"), 0);
    std::vector<int> before = crashPlays(pad[size_t(crash - 1)]), after = crashPlays(pad[size_t(crash)]);
    int band = 0;
    while (band < 4 && after[size_t(band)] == before[size_t(band)])
        band++;
    EXPECT_FLOAT_EQ(float(traceNumber(pad[size_t(crash)], "padRumble")), 0.25f * float(band + 1));

    // Half a stick asks for less than full lock and gets it no faster than the key turns.
    double most = 0;
    for (int f = kHalfStickFrom; f < 2100; f++) {
        double p0 = traceNumber(playerCar(pad[size_t(f - 1)]), "steer"), p1 = traceNumber(playerCar(pad[size_t(f)]), "steer");
        double k0 = traceNumber(playerCar(keys[size_t(f - 1)]), "steer"), k1 = traceNumber(playerCar(keys[size_t(f)]), "steer");
        EXPECT_LE(p1, k1 + 1e-6) << "frame " << f;
        EXPECT_LE(p1 - p0, k1 - k0 + 1e-6) << "frame " << f;
        most = std::max(most, p1);
    }
    EXPECT_GT(most, 0.2);
    EXPECT_LE(most, 0.35 + 1e-6) << "half a stick turns at most half way";

    // Start pauses and A on "Continue" goes on without a burst of nitro from the held button.
    EXPECT_EQ(traceField(pad[2112], "gameState"), "4");
    EXPECT_EQ(traceField(pad[2127], "gameState"), "0");
    EXPECT_EQ(traceNumber(playerCar(pad[2129]), "nitro"), traceNumber(playerCar(pad[2112]), "nitro"));
    // The second pad's Start does nothing while the first plays; pulling the first out leaves
    // the race running with nothing pushed, and the second takes over.
    EXPECT_EQ(traceField(pad[2145], "gameState"), "0");
    EXPECT_GT(traceNumber(playerCar(pad[2149]), "driveForce"), 0);
    EXPECT_EQ(traceNumber(playerCar(pad[2152]), "driveForce"), 0);
    EXPECT_EQ(traceField(pad[2152], "gameState"), "0");
    EXPECT_EQ(traceField(pad[2152], "padConnected"), "true");
    EXPECT_GT(traceNumber(playerCar(pad[2175]), "driveForce"), 0);
    EXPECT_EQ(traceField(pad[2185], "padConnected"), "false");
    EXPECT_EQ(traceNumber(playerCar(pad[2185]), "driveForce"), 0);
    EXPECT_EQ(traceField(pad[2199], "gameState"), "0");
}

} // namespace
