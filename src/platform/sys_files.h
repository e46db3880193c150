// File access for the whole game. Paths are taken exactly as the game writes them,
// ".\base\menu.inf" included: '\' separators are turned into '/' before the open.
#pragma once
#include <cstdio>
#include <string>

std::string Sys_NativePath(const char *gamePath);
FILE *Sys_FOpen(const char *gamePath, const char *mode);
bool Sys_FileExists(const char *gamePath);

// Writes a whole file so that a crash at any moment leaves either the old file or the new one:
// the bytes go to "<path>.tmp" beside it, are flushed to disk, and the temporary is renamed over.
bool Sys_WriteFileAtomic(const char *gamePath, const void *data, size_t size);
// Test hook: the process dies right after the temporary is written, before the rename.
extern bool sysCrashBeforeRename;

// Reads up to maxSize bytes; returns the number read, or -1 when the file cannot be opened.
long Sys_ReadFile(const char *gamePath, void *data, size_t maxSize);
