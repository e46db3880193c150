// File access for the whole game. Paths are taken exactly as the game writes them,
// ".\base\menu.inf" included: '\' separators are turned into '/' before the open, and a path
// into base/ is taken under the data folder (Sys_FindDataDir).
#pragma once
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

std::string Sys_NativePath(const char *gamePath);

// ---- where base/ is ----
// The game's paths all start with base/. It is looked for in the working folder, beside the
// executable, and where an install puts it (../share/cobalt-overdrive beside the executable's
// folder); the first folder that holds a base/ folder becomes the root of every game path into
// base/. False when none does; `searched` then lists the base/ folders looked for, in order.
bool Sys_FindDataDir(std::vector<std::string> *searched);
// The folder that holds base/, or "" while that is the working folder.
void Sys_SetDataDir(const std::string &folder);

// One line on standard error, the program's name first: what failed, for the player running it
// from a terminal and for scripts (message boxes say it to whoever is looking at the screen).
void Sys_Report(const char *format, ...) __attribute__((format(printf, 1, 2)));
// Reports a file the game wanted and could not use: missing or unreadable (with the system's
// reason), or there but damaged, under the path it was looked for at.
void Sys_ReportUnusable(const char *gamePath);
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
