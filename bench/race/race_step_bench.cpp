// One race step with four cars on a generated circuit, without drawing: the player holding the
// throttle and weaving while the three others sit on the grid, and the whole field driven by the
// computer (the autopilot in car 0). Reports microseconds per step and how much faster than real
// time the race simulates. Runs without a window, as the game does with --headless.
#include "audio/audio.h"
#include "content/content.h"
#include "frontend/frontend.h"
#include "race/car.h"
#include "race/race.h"
#include "common/common.h"
#include "platform/sys.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>

namespace {

// A quick race on track 1, past its countdown, stepped at `ft` hundredths a frame.
void startRace(float ft, bool computerDriven)
{
    std::filesystem::current_path(std::filesystem::path(COBALT_BASE_DIR).parent_path());
    Sys_SetHeadless(true);
    openAudioDevice(nullptr, true);
    setDefaultSettings();
    fillCarStats();
    autopilot = computerDriven;
    std::srand(1);
    startQuickRace(1, 0);
    frameTime = 1.0f;
    for (int i = 0; i < 600; i++)
        raceStep();
    countdownActive = false;
    frameTime = ft;
}

void endBenchRace(benchmark::State &state, float ft)
{
    // Game time per step is frameTime hundredths of a second.
    state.counters["gameMsPerStep"] = ft * 10.0;
    state.counters["realTimeFactor"] = benchmark::Counter(ft * 0.01 * double(state.iterations()), benchmark::Counter::kIsRate);
    endRace();
    autopilot = false;
    closeAudioDevice();
}

void raceStepOnTrack(benchmark::State &state)
{
    float ft = float(state.range(0)) / 10.0f;
    startRace(ft, false);
    long frame = 0;
    for (auto _ : state) {
        std::memset(keyDown, 0, sizeof keyDown);
        keyDown[VK_UP] = true;
        keyDown[(frame / 150) % 2 ? VK_LEFT : VK_RIGHT] = (frame % 150) < 40;
        raceStep();
        frame++;
    }
    endBenchRace(state, ft);
}
BENCHMARK(raceStepOnTrack)->Arg(10)->Arg(30)->Unit(benchmark::kMicrosecond);

// Four computer-driven cars racing round the circuit: laps, places and every driver's decisions
// on top of the physics. The ranking is rebuilt every step, as the race frame does.
void raceStepFourDrivers(benchmark::State &state)
{
    startRace(1.0f, true);
    for (auto _ : state) {
        updateStandings();
        raceStep();
    }
    endBenchRace(state, 1.0f);
}
BENCHMARK(raceStepFourDrivers)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
