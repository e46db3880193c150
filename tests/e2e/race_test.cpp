// A seeded quick race driven through the game binary with scripted keys: what the trace and the
// recorded sound show must be what the player would see and hear. It runs without a window: the
// windowed game runs the same race frame for frame (the HUD pictures test holds it to that).
#include "platform/wav_write.h"
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

TEST(RaceRun, CountdownHoldsTheGridThenTheKeysDriveAndAWallIsHeard)
{
    TempDir dir;
    linkContent(dir);
    std::ofstream(dir.file("keys.txt")) << "1420 key down UP\n"
                                           "1420 key down SPACE\n"
                                           "1700 key down LEFT\n"
                                           "1760 key up LEFT\n";
    GameRun r = runGame(dir, {"--headless", "--frames", "1800", "--fixed-frame-ms", "10", "--no-browser", "--seed", "5",
                              "--race", "1,2", "--input", "keys.txt", "--trace", "t.jsonl", "--audio-out", "mix.wav"});
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_NE(r.stdoutText.find("race track=1 car=2 finished=no "), std::string::npos)
        << "the frames ended the run mid-race: " << r.stdoutText;
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
        EXPECT_EQ(traceNumber(lines[size_t(i)], "raceClock"), 0.0);
        for (int c = 0; c < 4; c++) {
            auto a = numbers(carText(lines[size_t(i)], c), "position");
            auto b = numbers(carText(lines[size_t(i - 1)], c), "position");
            ASSERT_EQ(a.size(), 3u);
            for (int k = 0; k < 3; k++)
                ASSERT_NEAR(a[size_t(k)], b[size_t(k)], 1e-3) << "car " << c << " moved at frame " << i;
        }
    }
    std::string first = lines[size_t(raceStart)];
    auto models = std::vector<double>{traceNumber(carText(first, 0), "model"), traceNumber(carText(first, 1), "model"),
                                      traceNumber(carText(first, 2), "model"), traceNumber(carText(first, 3), "model")};
    EXPECT_EQ(models[0], 2.0);
    for (int a = 0; a < 4; a++)
        for (int b = a + 1; b < 4; b++)
            EXPECT_NE(models[size_t(a)], models[size_t(b)]);

    // Throttle and nitro: first gear at 1.5 times 140 x power x 1.15, the reserve burning 0.12 a frame.
    std::string go = carText(lines[1430], 0);
    EXPECT_NEAR(traceNumber(go, "driveForce"), 140 * 0.53 * 1.15 * 1.5, 0.5);
    EXPECT_NEAR(traceNumber(carText(lines[1600], 0), "nitro"), 100 - 0.12 * 180, 0.2);
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
    // same race recorded once more with the crash samples silenced differs from the impact on
    // and not before.
    int crashFrame = -1;
    for (size_t i = 1421; i < lines.size() && crashFrame < 0; i++) {
        auto plays = numbers(lines[i], "soundPlays");
        ASSERT_EQ(plays.size(), 16u);
        if (plays[4] + plays[5] + plays[6] + plays[7] > 0)
            crashFrame = int(i);
    }
    ASSERT_GT(crashFrame, 1700) << "no crash sound was played";
    ASSERT_EQ(readBytes(dir.file("mix.wav")).size(), 44u + 18 * 44100 * 4) << "18 s of game clock";
    TempDir again;
    linkContent(again);
    std::filesystem::remove(again.path / "base/sound");
    std::filesystem::create_directories(again.path / "base/sound");
    for (const auto &e : std::filesystem::directory_iterator(std::string(COBALT_BASE_DIR) + "/sound"))
        std::filesystem::create_symlink(e.path(), again.path / "base/sound" / e.path().filename());
    std::vector<int16_t> silence(44100);
    for (const char *crash : {"cr0.wav", "cr1.wav", "cr2.wav", "cr3.wav"}) {
        std::filesystem::remove(again.path / "base/sound" / crash);
        Sys_WriteWav(again.file(std::string("base/sound/") + crash).c_str(), 1, 44100, silence.data(), 44100);
    }
    std::filesystem::copy_file(dir.file("keys.txt"), again.file("keys.txt"));
    GameRun quiet = runGame(again, {"--headless", "--frames", "1800", "--fixed-frame-ms", "10", "--no-browser", "--seed",
                                    "5", "--race", "1,2", "--input", "keys.txt", "--audio-out", "mix.wav"});
    EXPECT_EQ(quiet.exitCode, 0) << quiet.stderrText;
    auto withCrash = readBytes(dir.file("mix.wav")), withoutCrash = readBytes(again.file("mix.wav"));
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
    double t = crashFrame / 100.0;
    EXPECT_EQ(difference(t - 1.0, t - 0.02), 0.0) << "nothing differs before the impact";
    EXPECT_GT(difference(t, t + 0.3), 1000.0) << "the crash is heard in the mix";
}

// The car effects live where they are drawn, in a window: the player's exhaust smokes from the
// grid on with no flame while idling, burns green with the nitro; no tyre dust before the car
// has moved. The start is found without a window first, then raced at the game's longest step.
TEST(RaceRun, TheExhaustSmokesOnTheGridAndBurnsGreenWithTheNitro)
{
    TempDir dir;
    linkContent(dir);
    writeBytes(dir.file("base/menu.inf"), words({0, 32, 24, 1, 0, 5})); // 640 x 480, sound, no music
    const std::vector<std::string> race = {"--race", "1,2", "--seed", "5", "--fixed-frame-ms", "60", "--no-browser"};
    std::vector<std::string> args = race;
    args.insert(args.end(), {"--headless", "--frames", "400", "--trace", "start.jsonl"});
    GameRun r = runGame(dir, args);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    int go = (int)firstFrame(traceLines(dir.file("start.jsonl")), "countdownActive", "false");
    ASSERT_GT(go, 10);

    std::ofstream(dir.file("keys.txt")) << go << " key down UP\n" << go << " key down SPACE\n";
    args = race;
    args.insert(args.end(), {"--windowed", "--frames", std::to_string(go + 12), "--input", "keys.txt", "--trace", "t.jsonl"});
    r = runGame(dir, args, 600);
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto lines = traceLines(dir.file("t.jsonl"));
    ASSERT_EQ(lines.size(), size_t(go + 12));
    ASSERT_EQ(firstFrame(lines, "countdownActive", "false"), go) << "the same start with a window";
    auto effect = [&](int frame, const char *kind) {
        const std::string &l = lines[size_t(frame)];
        size_t at = l.find(std::string("\"") + kind + "\":{", l.find("\"effects\":"));
        return at == std::string::npos ? std::string() : l.substr(at, l.find('}', at) - at);
    };
    EXPECT_GT(traceNumber(effect(go - 2, "smoke"), "live"), 0) << "exhaust smoke while the grid waits";
    EXPECT_EQ(traceField(effect(go - 2, "dust"), "emitting"), "false");
    EXPECT_EQ(traceNumber(effect(go - 2, "fire"), "live"), 0);
    EXPECT_EQ(numbers(effect(go + 10, "fire"), "colour"), (std::vector<double>{0, 1, 0}));
    EXPECT_GT(traceNumber(effect(go + 10, "fire"), "live"), 0);
}

} // namespace
