// Words as every file the game reads stores them: little-endian, read a byte at a time, so
// neither the machine's byte order nor the alignment of the data matters.
#pragma once
#include <cstdint>
#include <cstring>

inline uint16_t le16(const unsigned char *p) { return uint16_t(p[0] | p[1] << 8); }

inline uint32_t le32(const unsigned char *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline int32_t leInt32(const unsigned char *p)
{
    uint32_t v = le32(p);
    int32_t s;
    std::memcpy(&s, &v, 4);
    return s;
}

inline float leFloat(const unsigned char *p)
{
    uint32_t v = le32(p);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}
