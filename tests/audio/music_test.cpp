// Music streams on a real OpenAL Soft context: the loopback device records what the source plays,
// and the tests compare it with their own decode of small tunes they encode themselves. A tune
// must come out whole and repeated end to end, without a gap or stale data, whatever goes wrong.
#include "audio/audio.h"
#include "platform/sys.h"
#include "support/ogg_tune.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr int RATE = 44100;
constexpr long BUFFER_FRAMES = MUSIC_BUFFER_BYTES / 4; // 16-bit stereo

// A rising sweep: no stretch of it looks like another, so PCM played in the wrong place shows.
bool writeSweep(const std::string &path, long frames)
{
    return writeTune(path, frames, 2, RATE, [frames](long i, int c) {
        double t = double(i) / RATE, span = double(frames) / RATE;
        return 0.5 * std::sin(2 * M_PI * (200 * t + 900 * t * t / span) + c);
    });
}

// The recorded frame holding tune frame `tuneFrame`, looked for from recorded frame `from` on
// (the mixer starts a source a few dozen samples after the call).
long findInMix(const std::vector<int16_t> &mix, const std::vector<int16_t> &tune, long tuneFrame, long from)
{
    long len = long(tune.size() / 2), best = -1, bestErr = LONG_MAX;
    for (long d = 0; d < 512; d++) {
        long err = 0;
        for (long i = 1024; i < 2048 && size_t(2 * (from + d + i) + 1) < mix.size(); i++) {
            size_t m = size_t(2 * (from + d + i)), t = size_t(2 * ((tuneFrame + i) % len));
            err += std::abs(mix[m] - tune[t]) + std::abs(mix[m + 1] - tune[t + 1]);
        }
        if (err < bestErr) {
            bestErr = err;
            best = from + d;
        }
    }
    return bestErr < 4 * 1024 ? best : -1;
}

// The first recorded frame in [from, to) that is not the tune looped end to end with tune frame
// `tuneFrame` at recorded frame `at`; -1 when there is none.
long firstMismatch(const std::vector<int16_t> &mix, const std::vector<int16_t> &tune, long at, long tuneFrame,
                   long from, long to)
{
    long len = long(tune.size() / 2);
    for (long f = from; f < to; f++) {
        size_t t = size_t(2 * ((f - at + tuneFrame) % len));
        for (int c = 0; c < 2; c++)
            if (std::abs(mix[size_t(2 * f + c)] - tune[t + size_t(c)]) > 4)
                return f;
    }
    return -1;
}

ALint sourceState(const MusicStream &m)
{
    ALint state = 0;
    alGetSourcei(m.source, AL_SOURCE_STATE, &state);
    return state;
}

int usedRecords()
{
    int n = 0;
    for (const MusicBufferRecord &r : musicBufferRecords)
        n += r.buffer != 0;
    return n;
}

class MusicStreamTest : public ::testing::Test {
protected:
    TempDir dir;
    double clockMs = 0;

    void SetUp() override
    {
        dir.enter();
        ASSERT_TRUE(openAudioDevice("mix.wav"));
        ASSERT_TRUE(audioIsLoopback());
    }
    void TearDown() override { closeAudioDevice(); }

    // Game frames of `ms` each: the stream refilled once a frame, the mix rendered to the clock.
    void run(MusicStream *m, double seconds, double ms = 10)
    {
        for (double end = clockMs + seconds * 1000; clockMs < end - 1e-6;) {
            if (m)
                m->update();
            clockMs += ms;
            renderAudio(clockMs);
        }
    }
    long now() const { return long(clockMs * RATE / 1000); }
    // Writes a sweep of `frames` frames, opens it on m and starts it at full gain; returns the tune
    // as decoded on its own, for reference.
    std::vector<int16_t> startSweep(MusicStream &m, const std::string &name, long frames)
    {
        EXPECT_TRUE(writeSweep(name, frames));
        EXPECT_TRUE(m.open(name.c_str(), true, true));
        m.setGain(1);
        m.play();
        return decodeTune(name);
    }
    std::vector<int16_t> mix()
    {
        closeAudioDevice();
        EXPECT_EQ(size_t(wordAt(readBytes("mix.wav"), 10)), readBytes("mix.wav").size() - 44) << "data size in the header";
        return readMix("mix.wav");
    }
};

// Stereo sweeps loop end to end, whole and in order.
TEST_F(MusicStreamTest, TunesLoopEndToEndWithoutGapsOrStaleData)
{
    // Shorter than a buffer (every buffer holds one repeat), exactly one and two buffers (the
    // refill that meets the end finds no new PCM), and one and a half buffers.
    const long lengths[] = {20000, BUFFER_FRAMES, 2 * BUFFER_FRAMES, 3 * BUFFER_FRAMES / 2};
    long starts[4], ends[4];
    std::vector<int16_t> tunes[4];
    for (int k = 0; k < 4; k++) {
        MusicStream m;
        tunes[k] = startSweep(m, "t" + std::to_string(k) + ".ogg", lengths[k]);
        starts[k] = now();
        ASSERT_EQ(long(tunes[k].size()), 2 * lengths[k]);
        run(&m, 3.0 * double(lengths[k]) / RATE + 3.5);
        ends[k] = now();
        m.close();
        run(nullptr, 0.1);
    }
    auto rec = mix();
    for (int k = 0; k < 4; k++) {
        SCOPED_TRACE(lengths[k]);
        long at = findInMix(rec, tunes[k], 0, starts[k]);
        ASSERT_GE(at, 0) << "the tune starts when played";
        EXPECT_EQ(firstMismatch(rec, tunes[k], at, 0, at + 1024, ends[k] - 64), -1);
    }
}

TEST_F(MusicStreamTest, ASourceThatRanDryStartsAgainOnTheNextUpdate)
{
    MusicStream m;
    auto tune = startSweep(m, "long.ogg", 4 * BUFFER_FRAMES);
    long start = now();
    run(&m, 1.0);
    run(nullptr, 4.0); // one long frame: both buffers play out
    EXPECT_EQ(sourceState(m), AL_STOPPED);
    long resume = now();
    m.update();
    EXPECT_EQ(sourceState(m), AL_PLAYING);
    run(&m, 4.0);
    long end = now();
    m.close();
    auto rec = mix();
    long at = findInMix(rec, tune, 0, start);
    ASSERT_GE(at, 0);
    EXPECT_EQ(firstMismatch(rec, tune, at, 0, at + 1024, at + 2 * BUFFER_FRAMES - 1), -1);
    EXPECT_LT(mixPeak(rec, at + 2 * BUFFER_FRAMES + 64, resume), 8) << "silent while dry";
    long again = findInMix(rec, tune, 2 * BUFFER_FRAMES, resume);
    ASSERT_GE(again, 0) << "the tune goes on where the decoder was";
    EXPECT_EQ(firstMismatch(rec, tune, again, 2 * BUFFER_FRAMES, again + 1024, end - 64), -1);
}

TEST_F(MusicStreamTest, StopKeepsTheQueueAndRewindStartsAtTheFirstSample)
{
    MusicStream m;
    auto tune = startSweep(m, "long.ogg", 4 * BUFFER_FRAMES);
    run(&m, 2.0);
    m.stop();
    long stopped = now();
    run(&m, 0.5); // a stopped source counts its buffers as played; they must stay for the next play
    m.play();
    long resumed = now();
    run(&m, 1.0);
    m.rewind();
    EXPECT_EQ(sourceState(m), AL_INITIAL);
    run(&m, 0.3);
    m.play();
    long restarted = now();
    run(&m, 4.0); // past the two buffers queued by the rewind
    long end = now();
    m.close();
    auto rec = mix();
    EXPECT_LT(mixPeak(rec, stopped + 64, resumed), 8);
    // Playing a stopped source starts its queue again: the buffer that was playing, from its start.
    long at = findInMix(rec, tune, BUFFER_FRAMES, resumed);
    ASSERT_GE(at, 0);
    EXPECT_EQ(firstMismatch(rec, tune, at, BUFFER_FRAMES, at + 1024, at + RATE - 2048), -1);
    long top = findInMix(rec, tune, 0, restarted);
    ASSERT_GE(top, 0) << "after a rewind the tune starts from its first sample";
    EXPECT_EQ(firstMismatch(rec, tune, top, 0, top + 1024, end - 64), -1);
}

TEST_F(MusicStreamTest, BadTunesAreRefusedOrPlayWhatTheyCan)
{
    int boxes = Sys_BoxCount();
    ASSERT_TRUE(writeSweep("good.ogg", 5 * BUFFER_FRAMES / 2));
    auto good = readBytes("good.ogg");
    std::vector<unsigned char> garbage(50000);
    for (size_t i = 0; i < garbage.size(); i++)
        garbage[i] = (unsigned char)(i * 2654435761u >> 13);
    writeBytes("garbage.ogg", garbage);
    writeBytes("cut.ogg", std::vector<unsigned char>(good.begin(), good.begin() + 200));
    writeBytes("zero.ogg", {});
    writeBytes("good.wav", good);
    ASSERT_TRUE(writeTune("three.ogg", 20000, 3, RATE, [](long i, int) { return 0.3 * std::sin(0.05 * double(i)); }));
    for (const char *name : {"missing.ogg", "garbage.ogg", "cut.ogg", "zero.ogg", "good.wav", "three.ogg", "base"}) {
        SCOPED_TRACE(name);
        MusicStream m;
        EXPECT_FALSE(m.open(name, true, true));
        EXPECT_EQ(m.source, 0u);
        EXPECT_EQ(m.decoder, nullptr);
        EXPECT_EQ(m.file, nullptr);
        EXPECT_EQ(usedRecords(), 0);
        // Callers ignore the result: everything after it is silent and harmless.
        m.play();
        m.update();
        m.setGain(1);
        m.rewind();
        m.stop();
        m.close();
        EXPECT_EQ(alGetError(), AL_NO_ERROR);
    }

    // Cut short in its audio, damaged in the middle, or with no audio at all: the stream plays
    // and loops what decodes, and every update comes back.
    writeBytes("truncated.ogg", std::vector<unsigned char>(good.begin(), good.begin() + long(good.size() * 6 / 10)));
    auto damaged = good;
    for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 300; i++)
        damaged[i] = garbage[i % garbage.size()];
    writeBytes("damaged.ogg", damaged);
    ASSERT_TRUE(writeTune("silent.ogg", 0, 2, RATE, [](long, int) { return 0.0; }));
    const char *names[] = {"truncated.ogg", "damaged.ogg"};
    long starts[2], ends[2];
    std::vector<int16_t> tunes[2];
    for (int k = 0; k < 2; k++) {
        tunes[k] = decodeTune(names[k]);
        ASSERT_GT(tunes[k].size(), 2u * RATE) << names[k];
        ASSERT_LT(tunes[k].size(), good.size() * 100) << names[k];
        MusicStream m;
        ASSERT_TRUE(m.open(names[k], true, true)) << names[k];
        m.setGain(1);
        m.play();
        starts[k] = now();
        run(&m, 2.0 * double(tunes[k].size() / 2) / RATE + 1.0);
        ends[k] = now();
        EXPECT_EQ(sourceState(m), AL_PLAYING) << names[k];
        m.close();
    }
    MusicStream silent;
    ASSERT_TRUE(silent.open("silent.ogg", true, true));
    silent.setGain(1);
    silent.play();
    long quiet = now();
    run(&silent, 1.0);
    silent.close();
    EXPECT_EQ(Sys_BoxCount(), boxes) << "no OpenAL error on the way";
    auto rec = mix();
    for (int k = 0; k < 2; k++) {
        SCOPED_TRACE(names[k]);
        long at = findInMix(rec, tunes[k], 0, starts[k]);
        ASSERT_GE(at, 0);
        EXPECT_EQ(firstMismatch(rec, tunes[k], at, 0, at + 1024, ends[k] - 64), -1);
    }
    EXPECT_LT(mixPeak(rec, quiet + 256, now()), 8);
}

TEST_F(MusicStreamTest, ClosingTwiceOrOpeningAgainReleasesNothingTwice)
{
    ASSERT_TRUE(writeSweep("a.ogg", 30000));
    MusicStream a, b;
    ASSERT_TRUE(a.open("a.ogg", true, true));
    a.close();
    EXPECT_EQ(usedRecords(), 0);
    // b may well be given a's old names; closing a again must not touch them.
    ASSERT_TRUE(b.open("a.ogg", true, true));
    a.close();
    a.close();
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    EXPECT_TRUE(alIsSource(b.source));
    for (unsigned buffer : b.buffers) {
        EXPECT_TRUE(alIsBuffer(buffer));
        EXPECT_NE(findMusicBuffer(buffer), nullptr);
    }
    EXPECT_EQ(usedRecords(), 2);
    // Opened again without a close, the stream lets go of its first tune.
    ASSERT_TRUE(b.open("a.ogg", true, true));
    EXPECT_EQ(usedRecords(), 2);
    b.play();
    run(&b, 0.5);
    EXPECT_EQ(sourceState(b), AL_PLAYING);
    unsigned oldBuffers[2] = {b.buffers[0], b.buffers[1]};
    b.close();
    b.close();
    EXPECT_EQ(usedRecords(), 0);
    for (unsigned buffer : oldBuffers)
        EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

} // namespace
