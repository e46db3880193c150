// Whole races without a window: the game binary with --headless and --autopilot races every
// career circuit to the results screen and back to the menu. What the trace shows must be a
// race that was really run: every car laps, nobody stays stuck, the ranking and the player's
// place follow the waypoint counts, and the best lap is the best of the player's full laps.
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

double speed(const std::string &car)
{
    double sum = 0;
    for (double v : traceList(car, "velocity"))
        sum += v * v;
    return std::sqrt(sum);
}

// "standings":[[c,n],...] as (car, waypoints) pairs.
std::vector<std::pair<int, int>> standings(const std::string &line)
{
    std::vector<double> flat = traceList(line, "standings");
    std::vector<std::pair<int, int>> out;
    for (size_t i = 0; i + 1 < flat.size(); i += 2)
        out.push_back({int(flat[i]), int(flat[i + 1])});
    return out;
}

// The ranking the race builds from waypoint counts: this exchange order decides ties.
std::vector<std::pair<int, int>> ranking(const int counts[4])
{
    std::vector<std::pair<int, int>> e;
    for (int i = 0; i < 4; i++)
        e.push_back({i, counts[i]});
    for (int i = 0; i < 3; i++)
        for (int j = i + 1; j < 4; j++)
            if (e[size_t(i)].second < e[size_t(j)].second)
                std::swap(e[size_t(i)], e[size_t(j)]);
    return e;
}

class HeadlessRace : public ::testing::TestWithParam<int> {};

TEST_P(HeadlessRace, EveryCarLapsTheCircuitAndTheResultsFollowTheWaypoints)
{
    const int track = GetParam();
    TempDir dir;
    linkContent(dir);
    GameRun r = runGame(dir, {"--headless", "--autopilot", "--race", std::to_string(track), "--seed", "11",
                              "--fixed-frame-ms", "10", "--no-browser", "--trace", "t.jsonl", "--frames", "60000"},
                        600);
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto lines = traceLines(dir.file("t.jsonl"));
    ASSERT_LT(lines.size(), 60000u) << "the run ended by itself";
    EXPECT_EQ(traceField(lines.back(), "gameState"), "1") << "back at the main menu";
    EXPECT_NE(r.stdoutText.find("race track=" + std::to_string(track) + " "), std::string::npos) << r.stdoutText;
    EXPECT_NE(r.stdoutText.find("finished=yes"), std::string::npos) << r.stdoutText;

    double slowSince[4] = {-1, -1, -1, -1}, longestSlow[4] = {};
    double finishedAt[4] = {-1, -1, -1, -1};
    std::vector<double> fullLaps;
    double lastLapClock = 0, best = 0;
    int previousCounts[4] = {}, previousLap0 = 0;
    bool previousRacing = false;
    int lapCount = 0, placeChecks = 0;
    for (const std::string &line : lines) {
        if (traceField(line, "gameState") != "0" || traceField(line, "raceClock").empty()) {
            previousRacing = false;
            continue;
        }
        lapCount = int(traceNumber(line, "lapCount"));
        double clock = traceNumber(line, "raceClock");
        bool running = traceField(line, "countdownActive") == "false" && traceField(line, "raceFinished") == "false";
        int counts[4], laps[4];
        for (int c = 0; c < 4; c++) {
            std::string car = carText(line, c);
            counts[c] = int(traceNumber(car, "waypointsPassed"));
            laps[c] = int(traceNumber(car, "lap"));
            if (running && speed(car) < 0.3) {
                if (slowSince[c] < 0)
                    slowSince[c] = clock;
                longestSlow[c] = std::max(longestSlow[c], clock - slowSince[c]);
            } else {
                slowSince[c] = -1;
            }
            if (finishedAt[c] < 0 && (c == 0 ? traceField(line, "raceFinished") == "true" : laps[c] > lapCount))
                finishedAt[c] = clock;
        }
        auto shown = standings(line);
        ASSERT_EQ(shown.size(), 4u) << line;
        if (previousRacing) {
            // The ranking of a frame is built before its step, from the counts the frame before left.
            EXPECT_EQ(shown, ranking(previousCounts)) << "frame " << traceField(line, "frame");
            int place = int(traceNumber(line, "playerPlace"));
            if (counts[0] != previousCounts[0]) {
                int expected = 0;
                for (int i = 0; i < 4; i++)
                    if (shown[size_t(i)].first == 0)
                        expected = i + 1;
                EXPECT_EQ(place, expected) << "frame " << traceField(line, "frame");
                placeChecks++;
            }
        }
        // A lap of the player ends where the lap counter moves; its time is the lap clock of the
        // frame before.
        if (previousRacing && laps[0] != previousLap0 && previousLap0 >= 1)
            fullLaps.push_back(lastLapClock);
        if (traceField(line, "raceFinished") == "true" && fullLaps.size() < size_t(lapCount))
            fullLaps.push_back(lastLapClock); // the lap that ends the race leaves the counter where it was
        lastLapClock = traceNumber(line, "lapClock");
        best = traceNumber(line, "bestLapClock");
        std::copy(counts, counts + 4, previousCounts);
        previousLap0 = laps[0];
        previousRacing = true;
    }
    EXPECT_EQ(lapCount, 4);
    EXPECT_GT(placeChecks, 40) << "the player's place was checked at its waypoints";
    for (int c = 0; c < 4; c++) {
        EXPECT_GE(finishedAt[c], 0) << "car " << c << " completed " << lapCount << " laps";
        EXPECT_LE(longestSlow[c], 10.0) << "car " << c << " stood below speed 0.3";
    }
    ASSERT_EQ(fullLaps.size(), size_t(lapCount));
    for (double lap : fullLaps)
        EXPECT_LE(best, lap + 0.011) << "the best lap is no slower than any full lap";
    EXPECT_NEAR(best, *std::min_element(fullLaps.begin(), fullLaps.end()), 0.011);
}

INSTANTIATE_TEST_SUITE_P(CareerTracks, HeadlessRace, ::testing::Range(1, 16));

} // namespace
