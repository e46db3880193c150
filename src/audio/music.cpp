// Music streams: Ogg Vorbis decoded while it plays into two buffers that take turns on one
// source. The decoder seeks back to the start of the tune as it meets the end, so a looping tune
// runs on without a gap; the next buffer's PCM is decoded ahead a step per update, so no frame
// pays for a whole buffer.
#include "audio/audio.h"
#include "formats/vorbis_check.h"
#include "platform/sys_files.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <strings.h>

MusicStream menuMusic, raceMusic;
MusicBufferRecord musicBufferRecords[MUSIC_STREAMS * MUSIC_BUFFERS];
float musicFade = -1.5f;

// A decoder that keeps failing without giving any PCM would hold a refill forever; this many
// errors in a row count as the end of the tune.
static const int MAX_DECODE_ERRORS = 8;

static size_t musicFileRead(void *data, size_t size, size_t count, void *file)
{
    if (size == 0)
        return 0;
    return std::fread(data, 1, size * std::min(count, SIZE_MAX / size), static_cast<FILE *>(file));
}

static int musicFileSeek(void *file, int64_t offset, int whence)
{
    static const int origins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    FILE *f = static_cast<FILE *>(file);
    std::clearerr(f);
    if (whence < 0 || whence > 2)
        return -1;
    if (fseeko(f, off_t(offset), origins[whence]) != 0 || std::ferror(f))
        return -1;
    return 0;
}

// The stream closes its file itself.
static int musicFileClose(void *) { return 0; }

static long musicFileTell(void *file) { return long(ftello(static_cast<FILE *>(file))); }

static const ov_callbacks musicCallbacks = {musicFileRead, musicFileSeek, musicFileClose, musicFileTell};

const MusicBufferRecord *findMusicBuffer(unsigned buffer)
{
    for (const MusicBufferRecord &r : musicBufferRecords)
        if (buffer && r.buffer == buffer)
            return &r;
    return nullptr;
}

static bool registerBuffer(unsigned buffer, const char *fileName, int rate, ALenum format)
{
    for (MusicBufferRecord &r : musicBufferRecords)
        if (!r.buffer) {
            r = {buffer, fileName, rate, format};
            return true;
        }
    return false;
}

static void forgetBuffer(unsigned buffer)
{
    for (MusicBufferRecord &r : musicBufferRecords)
        if (r.buffer == buffer)
            r = {};
}

// Decodes into b until it holds upTo bytes (at most a buffer) or the tune ends. A looping tune
// seeks back to its start on meeting the end, so the next block carries on from the top; a block
// that meets the end before any PCM starts there at once, so a buffer is never queued without
// new PCM. A tune that does not loop, or data that will not decode again, ends the stream.
static void decode(MusicStream &m, MusicBlock &b, int upTo)
{
    upTo = std::min(upTo, MUSIC_BUFFER_BYTES);
    bool fromStart = false;
    while (!b.complete && !m.ended && !m.failed && b.bytes < upTo) {
        int bitstream = 0;
        long r = ov_read(m.decoder, b.pcm.data() + b.bytes, upTo - b.bytes, 0, 2, 1, &bitstream);
        if (r > 0) {
            b.bytes += int(r);
            m.decodeErrors = 0;
            continue;
        }
        if (r == OV_HOLE && ++m.decodeErrors < MAX_DECODE_ERRORS)
            continue; // a damaged stretch is skipped
        // Any other error means the decoder could not set itself up for this part of the tune
        // (a codebook it could not build, say). Asked again, by a read or a seek, it would go on
        // with what it half built and crash: it is not asked again.
        if (r < 0 && r != OV_HOLE)
            m.failed = true;
        m.decodeErrors = 0;
        b.complete = true;
        bool again = m.looping && !m.failed && ov_pcm_seek(m.decoder, 0) == 0;
        if (again && b.bytes == 0 && !fromStart) {
            fromStart = true;
            b.complete = false;
            continue;
        }
        if (!again || b.bytes == 0)
            m.ended = true;
    }
    if (b.bytes >= MUSIC_BUFFER_BYTES)
        b.complete = true;
}

// Gives stream buffer i the PCM of b and queues it on the source.
static bool queueBlock(MusicStream &m, int i, const MusicBlock &b)
{
    const MusicBufferRecord *r = findMusicBuffer(m.buffers[i]);
    if (!r || b.bytes == 0)
        return true;
    alBufferData(m.buffers[i], r->format, b.pcm.data(), b.bytes, r->rate);
    checkAlError();
    alSourceQueueBuffers(m.source, 1, &m.buffers[i]);
    if (!checkAlError())
        return false;
    m.idle[i] = false;
    return true;
}

// Queues the tune's first two buffers, kept from the open.
static void queueHead(MusicStream &m)
{
    for (int i = 0; i < MUSIC_BUFFERS; i++) {
        m.idle[i] = true;
        queueBlock(m, i, m.head[i]);
    }
}

static void resetBlock(MusicBlock &b, bool keepMemory)
{
    b.bytes = 0;
    b.complete = false;
    if (!keepMemory)
        std::vector<char>().swap(b.pcm);
}

bool MusicStream::open(const char *path, bool loop, bool stream)
{
    close(); // a stream opened again lets go of its previous tune
    if (!Sys_FileExists(path)) {
        Sys_ReportUnusable(path);
        return false;
    }
    looping = loop;
    alGetError(); // an error left behind by other sound calls is not this stream's
    alGenSources(1, &source);
    if (!checkAlError()) {
        source = 0;
        return false;
    }
    alSourcef(source, AL_PITCH, 1.0f);
    alSourcef(source, AL_GAIN, 0.0f); // silent until the fade raises it
    alSource3f(source, AL_POSITION, position[0], position[1], position[2]);
    alSource3f(source, AL_VELOCITY, velocity[0], velocity[1], velocity[2]);
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    // The music goes with the listener: wherever the camera is, a tune is neither faded by
    // distance nor panned.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    const char *dot = std::strrchr(path, '.');
    if (!dot || strcasecmp(dot + 1, "ogg") != 0) {
        close();
        return false;
    }
    streaming = stream;
    file = Sys_FOpen(path, "rb");
    // The decoder trusts its headers: one it cannot survive is refused before it sees the tune.
    auto readFile = [](void *buf, size_t n, void *f) { return musicFileRead(buf, 1, n, f); };
    if (file && (checkVorbisFile(readFile, file) != VORBIS_PLAYABLE || musicFileSeek(file, 0, 0) != 0)) {
        close();
        Sys_ReportUnusable(path);
        return false;
    }
    decoder = new OggVorbis_File;
    if (!file || ov_open_callbacks(file, decoder, nullptr, 0, musicCallbacks) < 0) {
        delete decoder; // a failed open has already cleared it
        decoder = nullptr;
        close();
        Sys_ReportUnusable(path);
        return false;
    }
    comment = ov_comment(decoder, -1);
    info = ov_info(decoder, -1);
    // The PCM goes to OpenAL as it is decoded, so only one or two channels can be played.
    if (!info || info->rate <= 0 || info->channels < 1 || info->channels > 2) {
        close();
        Sys_ReportUnusable(path);
        return false;
    }
    if (streaming)
        alSourcei(source, AL_LOOPING, AL_FALSE); // the decoder does the looping
    ALenum format = info->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    alGenBuffers(MUSIC_BUFFERS, buffers);
    if (!checkAlError()) {
        std::fill(buffers, buffers + MUSIC_BUFFERS, 0u);
        close();
        return false;
    }
    for (unsigned b : buffers)
        if (!registerBuffer(b, path, int(info->rate), format)) {
            close();
            return false;
        }
    next.pcm.resize(MUSIC_BUFFER_BYTES);
    for (MusicBlock &h : head) {
        h.pcm.resize(MUSIC_BUFFER_BYTES);
        decode(*this, h, MUSIC_BUFFER_BYTES);
    }
    if (failed && head[0].bytes == 0) { // not one sample could be decoded
        close();
        Sys_ReportUnusable(path);
        return false;
    }
    headResume = ov_pcm_tell(decoder);
    headEnded = ended;
    queueHead(*this);
    sourceId = source;
    return true;
}

void MusicStream::play()
{
    if (!source)
        return;
    if (ended && !looping)
        rewind(); // a tune that has played to its end starts again from the top
    playing = true;
    playedMark = 0; // the source starts at the head of its queue
    alSourcePlay(source);
}

void MusicStream::stop()
{
    if (!source)
        return;
    playing = false;
    alSourceStop(source);
}

void MusicStream::rewind()
{
    if (!source)
        return;
    playing = false;
    alSourceStop(source);
    // A stopped source counts every buffer as played: take them all back and queue the first two
    // buffers of the tune, so the next play starts at its first sample.
    ALint queued = 0;
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    for (; queued > 0; queued--) {
        ALuint b = 0;
        alSourceUnqueueBuffers(source, 1, &b);
    }
    alSourceRewind(source);
    ended = headEnded || failed || ov_pcm_seek(decoder, headResume) != 0;
    decodeErrors = 0;
    resetBlock(next, true);
    queueHead(*this);
}

bool MusicStream::update()
{
    if (!source || !streaming)
        return true;
    alGetError();
    // A stopped source counts its buffers as played, but they wait for the next play.
    int played = 0;
    if (playing) {
        ALint processed = 0, size = 0, offset = 0;
        alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
        for (; processed > 0; processed--) {
            ALuint b = 0;
            alSourceUnqueueBuffers(source, 1, &b);
            if (!checkAlError())
                return false;
            alGetBufferi(b, AL_SIZE, &size);
            played += size;
            for (int i = 0; i < MUSIC_BUFFERS; i++)
                if (buffers[i] == b)
                    idle[i] = true;
        }
        alGetSourcei(source, AL_BYTE_OFFSET, &offset);
        played = std::max(0, played + offset - playedMark);
    }
    // Twice what was played since the last update keeps the next block ahead of the source even
    // when frames are long; at a smooth frame rate the step decides.
    decode(*this, next, next.bytes + (std::max(MUSIC_DECODE_STEP, 2 * played) & ~3));
    for (int i = 0; i < MUSIC_BUFFERS; i++) {
        if (!idle[i])
            continue;
        // The source is on its last buffer, or has none left: the block cannot wait for more steps.
        decode(*this, next, MUSIC_BUFFER_BYTES);
        if (!next.complete || next.bytes == 0)
            break;
        if (!queueBlock(*this, i, next))
            return false;
        resetBlock(next, true);
    }
    // A source that ran dry (every buffer played before a refill, as in a long frame) starts again
    // instead of staying silent until the next play.
    if (playing) {
        ALint state = 0, queued = 0;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
        if (state == AL_STOPPED && queued > 0)
            alSourcePlay(source);
        alGetSourcei(source, AL_BYTE_OFFSET, &playedMark);
    }
    return true;
}

void MusicStream::setGain(float gain)
{
    if (source)
        alSourcef(source, AL_GAIN, gain);
}

void MusicStream::close()
{
    if (source) {
        alSourceStop(source);
        if (alIsSource(source))
            alDeleteSources(1, &source);
    }
    for (unsigned &b : buffers)
        if (b) {
            forgetBuffer(b);
            alDeleteBuffers(1, &b);
            b = 0;
        }
    if (decoder) {
        ov_clear(decoder);
        delete decoder;
        decoder = nullptr;
    }
    if (file) {
        std::clearerr(file);
        std::fclose(file);
        file = nullptr;
    }
    source = sourceId = 0;
    comment = nullptr;
    info = nullptr;
    streaming = playing = ended = headEnded = failed = false;
    decodeErrors = playedMark = 0;
    headResume = 0;
    std::fill(idle, idle + MUSIC_BUFFERS, false);
    resetBlock(next, false);
    for (MusicBlock &h : head)
        resetBlock(h, false);
}
