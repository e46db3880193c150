// Tunes on arbitrary bytes, streamed exactly as the game streams its music: MusicStream opens the
// file and decodes through the game's own file callbacks, then plays on a loopback device whose
// mix is rendered between updates, so buffers are played out, refilled and the tune loops; a
// rewind and a close end it. libvorbis is the system's, built without coverage: how each tune
// ended is counted (outcomes.h) so the fuzzer can tell new kinds of file apart.
#include "audio/audio.h"
#include "platform/sys.h"
#include "outcomes.h"
#include "scratch_file.h"
#include "support/ogg_pages.h"

#include <vorbis/vorbisfile.h>

#include <cstdlib>
#include <cstring>

static std::string path;
static double clockMs; // the loopback device's clock only runs forward

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Sys_SetAutoAnswer(IDOK); // an OpenAL error box goes to standard error, nothing waits
    if (!openAudioDevice("/dev/null"))
        std::abort();
    path = scratchPath("ogg");
    return 0;
}

// libvorbisfile 1.3.7 loses a list of 8 bytes when a seekable file's chains cannot be walked
// (ov_open_callbacks gives OV_EREAD, having freed everything else): the library's own loss on a
// refused tune, not the game's. Leaks from anywhere else are still reported. The library has
// no frame pointers, so the allocations' stacks are walked the slow way to reach the open.
extern "C" const char *__lsan_default_suppressions() { return "leak:ov_open_callbacks\n"; }
extern "C" const char *__asan_default_options() { return "fast_unwind_on_malloc=0"; }

// A mutated page fails its checksum and is dropped before the decoder sees it: half of the
// mutations have their pages' checksums made good again, so the damage reaches the Vorbis headers
// and packets instead of only leaving holes.
extern "C" size_t LLVMFuzzerMutate(uint8_t *data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t *data, size_t size, size_t maxSize, unsigned seed)
{
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (seed & 1)
        mendOggPageChecksums(data, size);
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!writeScratch(path, data, size))
        return 0;
    MusicStream m;
    bool opened = m.open(path.c_str(), true, true); // as every tune of the game is opened
    unsigned channels = 0, rate = 0;
    if (opened) {
        channels = unsigned(m.info->channels);
        rate = magnitude(size_t(m.info->rate));
        m.setGain(1.0f);
        m.play();
        // Long frames: each one plays out more than a buffer holds, so the source runs dry and
        // the stream refills and starts it again.
        for (int frame = 0; frame < 4; frame++) {
            clockMs += 700;
            renderAudio(clockMs);
            m.update();
        }
        m.stop();
        m.rewind();
        m.play();
        m.update();
    }
    OutcomeKey().add(opened, 1).add(channels, 2).add(rate, 5).add(m.ended, 1).add(m.headEnded, 1).count();
    m.close();
    alGetError();
    return 0;
}
