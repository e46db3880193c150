// Sound samples on arbitrary bytes, loaded exactly as the game loads its sixteen (ALUT's WAV
// reader through Sample::load, into a real OpenAL buffer on a loopback device), then played,
// stopped and released. The reader is the system's, built without coverage: how each load ended
// is counted (outcomes.h) so the fuzzer can tell new kinds of file apart.
#include "audio/audio.h"
#include "platform/sys.h"
#include "outcomes.h"
#include "scratch_file.h"

#include <AL/alut.h>

#include <cstdlib>

static std::string path;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Sys_SetAutoAnswer(IDOK); // boxes go to standard error, nothing waits
    if (!openAudioDevice("/dev/null")) // the loopback device: a mix nobody hears
        std::abort();
    path = scratchPath("wav");
    return 0;
}

// ALUT's error, the format and the size of the PCM the game handed to OpenAL.
static void noteOutcome(const Sample &s, ALint bufferBytes)
{
    ALenum error = alutGetError();
    int format = s.format == AL_FORMAT_MONO8 ? 0 : s.format == AL_FORMAT_MONO16 ? 1 : s.format == AL_FORMAT_STEREO8 ? 2 :
                 s.format == AL_FORMAT_STEREO16 ? 3 : -1;
    if (format < 0)
        std::abort(); // nothing else may reach alBufferData
    OutcomeKey().add(error ? unsigned(error - ALUT_ERROR_OUT_OF_MEMORY + 1) : 0, 5).add(unsigned(format), 2)
        .add(magnitude(size_t(bufferBytes)), 5).count();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!writeScratch(path, data, size))
        return 0;
    Sample s;
    s.load(path.c_str(), (size & 1) != 0);
    ALint bufferBytes = 0;
    alGetBufferi(s.buffer, AL_SIZE, &bufferBytes);
    noteOutcome(s, bufferBytes);
    s.setGain(0.5f);
    s.play();
    s.stop();
    s.release();
    alGetError(); // a refused buffer leaves an error the next load must not see
    return 0;
}
