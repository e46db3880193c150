// Sound files damaged in ways the system's decoders do not survive: the game refuses them before
// the decoder sees them, or stops asking the decoder once it has failed, and plays silence instead.
#include "audio/audio.h"
#include "formats/vorbis_check.h"
#include "formats/wav_check.h"
#include "support/file_builders.h"
#include "support/ogg_pages.h"
#include "support/ogg_tune.h"

#include <gtest/gtest.h>

namespace {

struct DamagedSounds : ::testing::Test {
    TempDir dir;
    void SetUp() override
    {
        dir.enter();
        ASSERT_TRUE(openAudioDevice("mix.wav"));
    }
    void TearDown() override { closeAudioDevice(); }

    // A tune whose first codebook has its bits changed by `damage` (bit offsets from the book's
    // start), with its pages' checksums mended.
    std::vector<uint8_t> damagedTune(const std::function<void(std::vector<uint8_t> &, size_t bookBit)> &damage)
    {
        EXPECT_TRUE(writeToneTune("tune.ogg", 30000, 44100, 441, 0.4));
        std::vector<uint8_t> file = readBytes("tune.ogg");
        size_t setup = vorbisSetupOffset(file);
        EXPECT_NE(setup, 0u);
        damage(file, (setup + 8) * 8); // after the packet type, "vorbis" and the book count
        mendOggPageChecksums(file.data(), file.size());
        return file;
    }
};

void setBits(std::vector<uint8_t> &b, size_t bit, int count, uint32_t value)
{
    for (int i = 0; i < count; i++, bit++)
        b[bit / 8] = uint8_t((b[bit / 8] & ~(1u << (bit % 8))) | ((value >> i & 1u) << (bit % 8)));
}

uint32_t getBits(const std::vector<uint8_t> &b, size_t bit, int count)
{
    uint32_t v = 0;
    for (int i = 0; i < count; i++, bit++)
        v |= uint32_t(b[bit / 8] >> (bit % 8) & 1u) << i;
    return v;
}

VorbisCheck checkFile(const char *path)
{
    FILE *f = std::fopen(path, "rb");
    VorbisCheck c = checkVorbisFile([](void *buf, size_t n, void *s) { return std::fread(buf, 1, n, (FILE *)s); }, f);
    std::fclose(f);
    return c;
}

// Codebooks the decoder does not survive. Lengths that make no prefix code (every entry one bit
// long) cannot be built: the decoder fails, and would crash if asked again, by a read or a seek
// back to the start, so that refusal is the decoder's to make. A book of no dimensions is taken
// by the decoder and divides by zero on the first packet, so the game refuses it first.
TEST_F(DamagedSounds, TunesWhoseCodebooksTheDecoderCannotSurviveAreRefusedAndStaySilent)
{
    struct Case {
        const char *name;
        VorbisCheck verdict;
        std::function<void(std::vector<uint8_t> &, size_t bookBit)> damage;
    } cases[] = {
        {"broken.ogg", VORBIS_PLAYABLE,
         [](std::vector<uint8_t> &b, size_t book) {
             ASSERT_EQ(getBits(b, book + 64, 2), 0u) << "the encoder's first book lists every entry's length";
             uint32_t entries = getBits(b, book + 40, 24);
             ASSERT_GE(entries, 3u);
             for (uint32_t entry = 0; entry < entries; entry++)
                 setBits(b, book + 66 + 5 * size_t(entry), 5, 0);
         }},
        {"flat.ogg", VORBIS_ZERO_DIMENSION_BOOK, [](std::vector<uint8_t> &b, size_t book) { setBits(b, book + 24, 16, 0); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(c.name, damagedTune(c.damage));
        EXPECT_EQ(checkFile(c.name), c.verdict);
        MusicStream m;
        EXPECT_FALSE(m.open(c.name, true, true));
        EXPECT_EQ(m.decoder, nullptr);
        EXPECT_EQ(m.source, 0u);
        m.play();
        m.update();
        m.rewind();
        m.close();
    }
    auto whole = readBytes("tune.ogg");
    size_t setup = vorbisSetupOffset(whole);
    EXPECT_EQ(checkVorbisSetup(whole.data() + setup, whole.size() - setup), VORBIS_PLAYABLE);
}

// ALUT allocates what a chunk's length asks for before reading it: a length past the end of the
// file never reaches it.
TEST_F(DamagedSounds, AWavWhoseChunksDoNotFitIsNeverHandedToTheReader)
{
    // A mono 8 kHz file with an odd-length chunk (and its pad byte) before the data.
    auto wav = [](uint32_t listLength, uint32_t dataLength, size_t dataBytes) {
        Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
        put32(b, 16);
        for (unsigned v : {1u, 1u})
            put16(b, v);
        put32(b, 8000);
        put32(b, 16000);
        put16(b, 2);
        put16(b, 16);
        b.insert(b.end(), {'L', 'I', 'S', 'T'});
        put32(b, listLength);
        b.insert(b.end(), {'a', 'b', 'c', 0});
        b.insert(b.end(), {'d', 'a', 't', 'a'});
        put32(b, dataLength);
        b.resize(b.size() + dataBytes, 0x40);
        return b;
    };
    // Each file, whether its chunks fit, and the PCM bytes the sample then holds.
    const struct {
        Bytes file;
        bool fits;
        int bytes;
    } cases[] = {{wav(3, 200, 200), true, 200},
                 {wav(3, 200, 210), true, 200}, // bytes after the data
                 {wav(3, 0x7fffffff, 200), false, 0},
                 {wav(0xfffffff0, 200, 200), false, 0},
                 {wav(3, 201, 200), false, 0},
                 {Bytes{'R', 'I', 'F', 'F'}, false, 0}};
    for (size_t i = 0; i < std::size(cases); i++) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(wavChunksFit(cases[i].file.data(), cases[i].file.size()), cases[i].fits);
        writeBytes("file.wav", cases[i].file);
        Sample s;
        s.load("file.wav", false);
        ALint bytes = -1;
        alGetBufferi(s.buffer, AL_SIZE, &bytes);
        EXPECT_EQ(bytes, cases[i].bytes) << "a refused file leaves an empty buffer: silence";
        s.release();
    }
}

} // namespace
