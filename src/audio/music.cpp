// Music streams. The tunes are not streamed yet: every operation is accepted and does nothing,
// so the callers already run their real sequence.
#include "audio/audio.h"

MusicStream menuMusic, raceMusic;
float musicFade = -1.5f;

bool MusicStream::open(const char *path, bool loop, bool streaming) { return false; }
void MusicStream::play() {}
void MusicStream::stop() {}
void MusicStream::rewind() {}
bool MusicStream::update() { return true; }
void MusicStream::setGain(float gain) {}
void MusicStream::close() {}
