// What the music costs a frame. decodeWholeBuffer is one refill done at once (262144 bytes of a
// race tune through libvorbisfile); rewindAndPlay is what a focus change or the music switch
// costs the frame it happens in; updatePerFrame is MusicStream::update on the loopback device,
// one call per game frame of the given milliseconds, with the mix rendered between calls outside
// the timing. Its counters split the calls by what they did: a buffer handed to the source
// ("refill"), one decode-ahead step ("step"), or nothing ("idle"), in microseconds of the thread's
// CPU time (the work itself; on a loaded machine the wall clock also counts time spent waiting
// for a core), mean and worst.
#include "audio/audio.h"

#include <vorbis/vorbisfile.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

namespace {

const std::string tune = std::string(COBALT_BASE_DIR) + "/music/1.ogg";

void decodeWholeBuffer(benchmark::State &state)
{
    OggVorbis_File vf;
    if (ov_fopen(tune.c_str(), &vf) < 0) {
        state.SkipWithError("no generated tune: build the content first");
        return;
    }
    std::vector<char> pcm(MUSIC_BUFFER_BYTES);
    for (auto _ : state) {
        int got = 0, bitstream = 0;
        while (got < MUSIC_BUFFER_BYTES) {
            long r = ov_read(&vf, pcm.data() + got, MUSIC_BUFFER_BYTES - got, 0, 2, 1, &bitstream);
            if (r == 0)
                ov_pcm_seek(&vf, 0);
            got += int(std::max(0L, r));
        }
        benchmark::DoNotOptimize(pcm.data());
    }
    ov_clear(&vf);
}
BENCHMARK(decodeWholeBuffer)->Unit(benchmark::kMicrosecond);

double threadCpuUs()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

struct Split {
    double sum = 0, worst = 0;
    long count = 0;
    void add(double us)
    {
        sum += us;
        worst = std::max(worst, us);
        count++;
    }
};

// The loopback device (mixing into nothing) and the race tune open on m; false, with the reason
// given to the benchmark, when either cannot be had.
bool openTune(benchmark::State &state, MusicStream &m)
{
    if (!openAudioDevice("/dev/null") || !audioIsLoopback()) {
        state.SkipWithError("no OpenAL loopback device");
        return false;
    }
    if (!m.open(tune.c_str(), true, true)) {
        state.SkipWithError("no generated tune: build the content first");
        closeAudioDevice();
        return false;
    }
    return true;
}

void updatePerFrame(benchmark::State &state)
{
    const double frameMs = double(state.range(0));
    MusicStream m;
    if (!openTune(state, m))
        return;
    m.setGain(1);
    m.play();
    double clockMs = 0;
    Split refill, step, idle;
    for (auto _ : state) {
        state.PauseTiming();
        clockMs += frameMs;
        renderAudio(clockMs);
        int before = m.next.bytes;
        state.ResumeTiming();
        double t0 = threadCpuUs();
        m.update();
        double us = threadCpuUs() - t0;
        if (m.next.bytes < before || (before == 0 && m.next.bytes == 0 && !m.ended))
            refill.add(us);
        else if (m.next.bytes > before)
            step.add(us);
        else
            idle.add(us);
    }
    for (auto [name, s] : {std::pair{"refill", &refill}, {"step", &step}, {"idle", &idle}}) {
        state.counters[std::string(name) + "Calls"] = double(s->count);
        state.counters[std::string(name) + "MeanUs"] = s->count ? s->sum / double(s->count) : 0;
        state.counters[std::string(name) + "WorstUs"] = s->worst;
    }
    m.close();
    closeAudioDevice();
}

void rewindAndPlay(benchmark::State &state)
{
    MusicStream m;
    if (!openTune(state, m))
        return;
    for (auto _ : state) {
        m.rewind();
        m.play();
    }
    m.close();
    closeAudioDevice();
}
BENCHMARK(rewindAndPlay)->Unit(benchmark::kMicrosecond);

// 100, 25 and 5 frames a second; a minute of game clock at each.
BENCHMARK(updatePerFrame)->Arg(10)->Iterations(6000)->Unit(benchmark::kMicrosecond);
BENCHMARK(updatePerFrame)->Arg(40)->Iterations(1500)->Unit(benchmark::kMicrosecond);
BENCHMARK(updatePerFrame)->Arg(200)->Iterations(300)->Unit(benchmark::kMicrosecond);

} // namespace
