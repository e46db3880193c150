// One race step with four cars on a generated circuit, without drawing: the player holding the
// throttle and weaving, the three others on the grid. Reports microseconds per step and how much
// faster than real time the race simulates. Needs a display (xvfb-run) for the track's textures.
#include "audio/audio.h"
#include "content/content.h"
#include "frontend/frontend.h"
#include "race/car.h"
#include "race/race.h"
#include "common/common.h"
#include "shell/shell.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>

static void raceStepOnTrack(benchmark::State &state)
{
    float ft = float(state.range(0)) / 10.0f;
    std::filesystem::current_path(std::filesystem::path(COBALT_BASE_DIR).parent_path());
    openAudioDevice(nullptr);
    setDefaultSettings();
    fillCarStats();
    // Loading the track makes its textures, so a (small) window with a GL context is needed; the
    // step itself never draws.
    Sys_SetAutoAnswer(IDYES);
    static bool windowOpen = openGameWindow("Cobalt Overdrive", 320, 240, 32, false);
    if (!windowOpen) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    startQuickRace(1, 0);
    frameTime = 1.0f;
    for (int i = 0; i < 600; i++)
        raceStep();
    countdownActive = false;
    frameTime = ft;
    long frame = 0;
    for (auto _ : state) {
        std::memset(keyDown, 0, sizeof keyDown);
        keyDown[VK_UP] = true;
        keyDown[(frame / 150) % 2 ? VK_LEFT : VK_RIGHT] = (frame % 150) < 40;
        raceStep();
        frame++;
    }
    // Game time per step is frameTime hundredths of a second.
    state.counters["gameMsPerStep"] = ft * 10.0;
    state.counters["realTimeFactor"] = benchmark::Counter(ft * 0.01 * double(state.iterations()), benchmark::Counter::kIsRate);
    unloadTrack();
    closeAudioDevice();
}
BENCHMARK(raceStepOnTrack)->Arg(10)->Arg(30)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
