// Changing a tune's bytes so the damage still reaches the decoder: every Ogg page carries a
// checksum, and a page that fails it is dropped before the decoder sees it. Shared by the tests
// of damaged tunes and the Ogg fuzz target.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

inline uint32_t oggPageCrc(const uint8_t *p, size_t n)
{
    static uint32_t table[256];
    if (!table[1])
        for (uint32_t i = 0; i < 256; i++) {
            uint32_t r = i << 24;
            for (int k = 0; k < 8; k++)
                r = r & 0x80000000u ? r << 1 ^ 0x04c11db7u : r << 1;
            table[i] = r;
        }
    uint32_t crc = 0;
    for (size_t i = 0; i < n; i++)
        crc = crc << 8 ^ table[(crc >> 24) ^ p[i]];
    return crc;
}

// Gives every page found in data a checksum that matches its bytes (a page cut short by the end
// of the data is summed as far as it goes).
inline void mendOggPageChecksums(uint8_t *data, size_t size)
{
    for (size_t at = 0; at + 27 <= size; at++) {
        if (std::memcmp(data + at, "OggS", 4) != 0)
            continue;
        size_t segments = data[at + 26], header = 27 + segments;
        if (at + header > size)
            break;
        size_t body = 0;
        for (size_t i = 0; i < segments; i++)
            body += data[at + 27 + i];
        size_t length = header + body < size - at ? header + body : size - at;
        std::memset(data + at + 22, 0, 4);
        uint32_t crc = oggPageCrc(data + at, length);
        for (int i = 0; i < 4; i++)
            data[at + 22 + i] = uint8_t(crc >> (8 * i));
        at += length - 1;
    }
}

// Where the setup header (a stream's third packet) begins, when it begins on the second page as
// the encoder writes it: after the comment packet, whose lacing values end at the first below 255.
// 0 when the file is not laid out so.
inline size_t vorbisSetupOffset(const std::vector<uint8_t> &file)
{
    if (file.size() < 27 || std::memcmp(file.data(), "OggS", 4) != 0)
        return 0;
    size_t first = 27 + file[26];
    for (size_t i = 0; i < file[26]; i++)
        first += file[27 + i];
    if (first + 27 > file.size() || std::memcmp(file.data() + first, "OggS", 4) != 0)
        return 0;
    size_t segments = file[first + 26], comment = 0, i = 0;
    for (; i < segments; i++) {
        comment += file[first + 27 + i];
        if (file[first + 27 + i] < 255)
            break;
    }
    size_t at = first + 27 + segments + comment;
    return i < segments && at + 7 < file.size() && file[at] == 5 ? at : 0;
}
