// Walks the codebooks of each Vorbis setup header with libogg's page, packet and bit readers; the
// rest of the header is left to the decoder, which refuses what it cannot parse.
#include "formats/vorbis_check.h"

#include <ogg/ogg.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

int ilog(uint32_t v)
{
    int n = 0;
    for (; v; v >>= 1)
        n++;
    return n;
}

// The number of values of a lookup-type-1 book: the largest r with r^dim <= entries.
uint64_t lookup1Values(long entries, long dim)
{
    uint64_t r = uint64_t(std::floor(std::pow(double(entries), 1.0 / double(dim))));
    auto fits = [&](uint64_t v) {
        uint64_t p = 1;
        for (long i = 0; i < dim; i++) {
            p *= v;
            if (p > uint64_t(entries))
                return false;
        }
        return true;
    };
    while (r > 0 && !fits(r))
        r--;
    while (fits(r + 1))
        r++;
    return r;
}

enum Book { BOOK_OK, BOOK_ZERO_DIMENSIONS, BOOK_UNREADABLE };

// Skips one codebook, as the decoder reads it.
Book readCodebook(oggpack_buffer *b, long totalBits)
{
    if (oggpack_read(b, 24) != 0x564342)
        return BOOK_UNREADABLE;
    long dim = oggpack_read(b, 16);
    long entries = oggpack_read(b, 24);
    if (dim < 0 || entries < 0 || ilog(uint32_t(dim)) + ilog(uint32_t(entries)) > 24)
        return BOOK_UNREADABLE;
    if (dim == 0)
        return BOOK_ZERO_DIMENSIONS;
    if (oggpack_read(b, 1)) { // ordered lengths
        long current = 0;
        if (oggpack_read(b, 5) < 0)
            return BOOK_UNREADABLE;
        while (current < entries) {
            long n = oggpack_read(b, ilog(uint32_t(entries - current)));
            if (n < 0)
                return BOOK_UNREADABLE;
            current += n;
        }
        if (current > entries)
            return BOOK_UNREADABLE;
    } else {
        long sparse = oggpack_read(b, 1); // some entries unused, each flagged
        if (sparse < 0)
            return BOOK_UNREADABLE;
        for (long i = 0; i < entries; i++) {
            long used = sparse ? oggpack_read(b, 1) : 1;
            if (used < 0 || (used && oggpack_read(b, 5) < 0))
                return BOOK_UNREADABLE;
        }
    }
    long lookup = oggpack_read(b, 4);
    if (lookup == 0)
        return BOOK_OK;
    if (lookup != 1 && lookup != 2)
        return BOOK_UNREADABLE;
    oggpack_read(b, 32); // minimum
    oggpack_read(b, 32); // delta
    long valueBits = oggpack_read(b, 4) + 1;
    if (oggpack_read(b, 1) < 0)
        return BOOK_UNREADABLE;
    uint64_t values = lookup == 1 ? lookup1Values(entries, dim) : uint64_t(entries) * uint64_t(dim);
    // The values are not needed, only their end: skip them if the packet holds them.
    if (values > uint64_t(totalBits) || values * uint64_t(valueBits) > uint64_t(totalBits - oggpack_bits(b)))
        return BOOK_UNREADABLE;
    for (uint64_t bits = values * uint64_t(valueBits); bits > 0;) {
        int step = bits > 4096 ? 4096 : int(bits);
        oggpack_adv(b, step);
        bits -= uint64_t(step);
    }
    return BOOK_OK;
}

} // namespace

VorbisCheck checkVorbisSetup(const unsigned char *packet, size_t size)
{
    if (!packet || size < 7 || packet[0] != 5 || std::memcmp(packet + 1, "vorbis", 6) != 0 || size > 0x7fffffff / 8)
        return VORBIS_PLAYABLE; // not a setup header: the decoder refuses it
    oggpack_buffer b;
    oggpack_readinit(&b, const_cast<unsigned char *>(packet) + 7, int(size - 7));
    long totalBits = long(size - 7) * 8;
    long books = oggpack_read(&b, 8) + 1;
    for (long i = 0; i < books; i++) {
        Book book = readCodebook(&b, totalBits);
        if (book == BOOK_ZERO_DIMENSIONS)
            return VORBIS_ZERO_DIMENSION_BOOK;
        if (book == BOOK_UNREADABLE)
            return VORBIS_PLAYABLE;
    }
    return VORBIS_PLAYABLE;
}

VorbisCheck checkVorbisFile(size_t (*read)(void *buf, size_t n, void *source), void *source)
{
    // A tune is one stream, or a few chained one after the other; streams that begin together
    // are bounded so a file of endless beginnings cannot grow this without end.
    static const size_t MAX_OPEN_STREAMS = 16;
    struct Stream {
        ogg_stream_state state;
        int packets;
    };
    std::vector<Stream> open;
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    VorbisCheck result = VORBIS_PLAYABLE;
    for (bool more = true; more && result == VORBIS_PLAYABLE;) {
        char *buf = ogg_sync_buffer(&sync, 65536);
        size_t n = buf ? read(buf, 65536, source) : 0;
        more = n > 0;
        ogg_sync_wrote(&sync, long(n));
        ogg_page page;
        while (result == VORBIS_PLAYABLE && ogg_sync_pageout(&sync, &page) == 1) {
            int serial = ogg_page_serialno(&page);
            Stream *s = nullptr;
            for (Stream &o : open)
                if (o.state.serialno == serial)
                    s = &o;
            if (!s && ogg_page_bos(&page)) {
                if (open.size() == MAX_OPEN_STREAMS) {
                    result = VORBIS_TOO_MANY_STREAMS;
                    break;
                }
                open.push_back({});
                s = &open.back();
                ogg_stream_init(&s->state, serial);
            }
            if (!s)
                continue;
            ogg_stream_pagein(&s->state, &page);
            ogg_packet packet;
            int got;
            while (s->packets < 3 && (got = ogg_stream_packetout(&s->state, &packet)) != 0)
                if (got == 1 && ++s->packets == 3)
                    result = checkVorbisSetup(packet.packet, size_t(packet.bytes));
            if (s->packets == 3) { // its headers are read: what follows is audio
                ogg_stream_clear(&s->state);
                *s = open.back();
                open.pop_back();
            }
        }
    }
    for (Stream &s : open)
        ogg_stream_clear(&s.state);
    ogg_sync_clear(&sync);
    return result;
}
