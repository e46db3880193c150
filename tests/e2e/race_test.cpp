// A seeded quick race driven through the game binary with scripted keys: what the trace and the
// recorded sound show must be what the player would see and hear.
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

// Numbers of one list field ("[1,2,3]") of a trace line or of a part of it.
std::vector<double> numbers(const std::string &text, const std::string &name, size_t from = 0)
{
    std::string key = "\"" + name + "\":[";
    size_t at = text.find(key, from);
    std::vector<double> out;
    if (at == std::string::npos)
        return out;
    const char *p = text.c_str() + at + key.size();
    while (*p && *p != ']') {
        char *end;
        out.push_back(std::strtod(p, &end));
        p = *end == ',' ? end + 1 : end;
    }
    return out;
}

// The text of car n's object in a trace line.
std::string carText(const std::string &line, int n)
{
    size_t at = line.find("{\"number\":" + std::to_string(n));
    return at == std::string::npos ? "" : line.substr(at, line.find('}', at) - at);
}

double num(const std::string &text, const char *name) { return std::atof(traceField(text, name).c_str()); }

TEST(RaceRun, CountdownHoldsTheGridThenTheKeysDriveAndAWallIsHeard)
{
    TempDir dir;
    linkContent(dir);
    std::ofstream(dir.file("keys.txt")) << "1420 key down UP\n"
                                           "1420 key down SPACE\n"
                                           "1700 key down LEFT\n"
                                           "1760 key up LEFT\n";
    GameRun r = runGame(dir, {"--windowed", "--frames", "1800", "--fixed-frame-ms", "10", "--no-browser", "--seed", "5",
                              "--race", "1,2", "--input", "keys.txt", "--trace", "t.jsonl", "--audio-out", "mix.wav"},
                        900);
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto lines = traceLines(dir.file("t.jsonl"));
    ASSERT_EQ(lines.size(), 1800u);

    // The race starts when loading ends; the countdown holds every car.
    int raceStart = -1, countdownEnd = -1;
    for (size_t i = 0; i < lines.size(); i++) {
        if (raceStart < 0 && traceField(lines[i], "gameState") == "0" && !traceField(lines[i], "countdownActive").empty())
            raceStart = int(i);
        if (raceStart >= 0 && countdownEnd < 0 && traceField(lines[i], "countdownActive") == "false")
            countdownEnd = int(i);
    }
    ASSERT_GT(raceStart, 700);
    ASSERT_NEAR(countdownEnd - raceStart, 600, 15) << "six seconds of countdown";
    for (int i = raceStart + 100; i < countdownEnd; i++) {
        EXPECT_EQ(num(lines[size_t(i)], "raceClock"), 0.0);
        for (int c = 0; c < 4; c++) {
            auto a = numbers(carText(lines[size_t(i)], c), "position");
            auto b = numbers(carText(lines[size_t(i - 1)], c), "position");
            ASSERT_EQ(a.size(), 3u);
            for (int k = 0; k < 3; k++)
                ASSERT_NEAR(a[size_t(k)], b[size_t(k)], 1e-3) << "car " << c << " moved at frame " << i;
        }
    }
    std::string first = lines[size_t(raceStart)];
    auto models = std::vector<double>{num(carText(first, 0), "model"), num(carText(first, 1), "model"),
                                      num(carText(first, 2), "model"), num(carText(first, 3), "model")};
    EXPECT_EQ(models[0], 2.0);
    for (int a = 0; a < 4; a++)
        for (int b = a + 1; b < 4; b++)
            EXPECT_NE(models[size_t(a)], models[size_t(b)]);

    // Throttle and nitro: first gear at 1.5 times 140 x power x 1.15, the reserve burning 0.12 a frame.
    std::string go = carText(lines[1430], 0);
    EXPECT_NEAR(num(go, "driveForce"), 140 * 0.53 * 1.15 * 1.5, 0.5);
    EXPECT_NEAR(num(carText(lines[1600], 0), "nitro"), 100 - 0.12 * 180, 0.2);
    int gear = 0;
    for (int i = 1421; i < 1700; i++) {
        int g = int(num(carText(lines[size_t(i)], 0), "gear"));
        EXPECT_GE(g, gear) << "frame " << i;
        gear = g;
    }
    EXPECT_GE(gear, 3);
    EXPECT_GT(num(carText(lines[1750], 0), "steer"), 0.5) << "Left raises the steering";

    // The turn ends in the barrier: a crash sample is started and heard above the engine.
    int crashFrame = -1;
    for (size_t i = 1421; i < lines.size() && crashFrame < 0; i++) {
        auto plays = numbers(lines[i], "soundPlays");
        ASSERT_EQ(plays.size(), 16u);
        if (plays[4] + plays[5] + plays[6] + plays[7] > 0)
            crashFrame = int(i);
    }
    ASSERT_GT(crashFrame, 1700) << "no crash sound was played";
    auto wav = readBytes(dir.file("mix.wav"));
    ASSERT_EQ(wav.size(), 44u + 18 * 44100 * 4) << "18 s of game clock";
    auto peak = [&](double t0, double t1) {
        int p = 0;
        for (size_t s = 44 + 4 * size_t(t0 * 44100); s < 44 + 4 * size_t(t1 * 44100); s += 2)
            p = std::max(p, std::abs(int(int16_t(wav[s] | wav[s + 1] << 8))));
        return p;
    };
    double t = crashFrame / 100.0;
    EXPECT_GT(peak(t, t + 0.3), peak(t - 1.0, t - 0.05)) << "the crash is louder than the engine before it";
}

} // namespace
