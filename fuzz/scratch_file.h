// The sound readers take a file name, as the game hands them one, so each input is written to a
// scratch file first: in memory where the machine has /dev/shm, one per process.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

inline std::string scratchPath(const char *extension)
{
    struct stat st;
    std::string folder = stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
    return folder + "/cobalt-fuzz-" + std::to_string(getpid()) + "." + extension;
}

inline bool writeScratch(const std::string &path, const uint8_t *data, size_t size)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}
