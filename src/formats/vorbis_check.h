// A check of an Ogg Vorbis file's setup headers before the system's decoder plays it. The
// decoder trusts a few header values it later divides or steps by: a codebook of no dimensions
// makes it divide by zero, or loop for ever, the first time a packet uses it. Such a book is of
// no use to any real tune (other decoders refuse it too), so a file that has one is refused
// whole, before it is opened for playing.
#pragma once
#include <cstddef>

enum VorbisCheck {
    VORBIS_PLAYABLE, // nothing found that the decoder cannot take (its own checks still apply)
    VORBIS_ZERO_DIMENSION_BOOK,
    VORBIS_TOO_MANY_STREAMS, // more logical streams begin at once than any tune has
};

// Reads the file through `read` (which fills up to n bytes of buf and returns how many, 0 at the
// end) and checks the setup header of every logical stream in it, chained or grouped.
VorbisCheck checkVorbisFile(size_t (*read)(void *buf, size_t n, void *source), void *source);

// The setup header packet alone (packet 3 of a stream).
VorbisCheck checkVorbisSetup(const unsigned char *packet, size_t size);
