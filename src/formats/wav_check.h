// A check of a WAV file before ALUT's reader decodes it. That reader allocates whatever a chunk's
// length asks for, before it knows whether the file holds that many bytes, so a few damaged bytes
// can ask for gigabytes. A file whose chunks, up to its sound data, do not fit in it is refused
// here instead; what does fit is left to ALUT, which refuses what it cannot decode.
#pragma once
#include <cstddef>

// True for a RIFF WAVE file whose chunks up to and including "data" lie within its bytes.
bool wavChunksFit(const unsigned char *data, size_t size);
