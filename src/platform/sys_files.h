// File access for the whole game. Paths are taken exactly as the game writes them,
// ".\base\menu.inf" included: '\' separators are turned into '/' before the open.
#pragma once
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

std::string Sys_NativePath(const char *gamePath);
FILE *Sys_FOpen(const char *gamePath, const char *mode);
bool Sys_FileExists(const char *gamePath);

// Writes a whole file so that a crash at any moment leaves either the old file or the new one:
// the bytes go to "<path>.tmp" beside it, are flushed to disk, and the temporary is renamed over.
bool Sys_WriteFileAtomic(const char *gamePath, const void *data, size_t size);
// Test hook: the process dies right after the temporary is written, before the rename.
extern bool sysCrashBeforeRename;

// The data files are little-endian 32-bit words.
inline int Sys_GetWord(const unsigned char *p)
{
    return int(unsigned(p[0]) | unsigned(p[1]) << 8 | unsigned(p[2]) << 16 | unsigned(p[3]) << 24);
}
inline void Sys_PutWord(unsigned char *p, int v)
{
    for (int i = 0; i < 4; i++)
        p[i] = (unsigned char)(unsigned(v) >> (8 * i));
}

// Reads a whole file (of any length, pipes included) into out; false (and out empty) when it
// cannot be opened or read.
bool Sys_ReadWholeFile(const char *gamePath, std::vector<uint8_t> &out);

// Reads up to maxSize bytes; returns the number read, or -1 when the file cannot be opened.
long Sys_ReadFile(const char *gamePath, void *data, size_t maxSize);
