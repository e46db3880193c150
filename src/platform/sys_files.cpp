#include "platform/sys_files.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool sysCrashBeforeRename;

std::string Sys_NativePath(const char *gamePath)
{
    std::string p = gamePath ? gamePath : "";
    for (char &c : p)
        if (c == '\\')
            c = '/';
    return p;
}

FILE *Sys_FOpen(const char *gamePath, const char *mode)
{
    return std::fopen(Sys_NativePath(gamePath).c_str(), mode);
}

bool Sys_FileExists(const char *gamePath)
{
    struct stat st;
    return stat(Sys_NativePath(gamePath).c_str(), &st) == 0;
}

bool Sys_WriteFileAtomic(const char *gamePath, const void *data, size_t size)
{
    std::string path = Sys_NativePath(gamePath);
    std::string tmp = path + ".tmp";
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const char *p = static_cast<const char *>(data);
    size_t left = size;
    while (left > 0) {
        ssize_t n = write(fd, p, left);
        if (n <= 0) {
            close(fd);
            unlink(tmp.c_str());
            return false;
        }
        p += n;
        left -= size_t(n);
    }
    // The data must be on disk before the rename makes it the file, or a power cut could
    // leave a renamed but empty file.
    bool ok = fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (sysCrashBeforeRename)
        _exit(3);
    if (!ok || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    return true;
}

bool Sys_ReadWholeFile(const char *gamePath, std::vector<uint8_t> &out)
{
    out.clear();
    FILE *f = Sys_FOpen(gamePath, "rb");
    if (!f)
        return false;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.insert(out.end(), buf, buf + n);
    // A directory opens but cannot be read; half a file is no file.
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok)
        out.clear();
    return ok;
}

long Sys_ReadFile(const char *gamePath, void *data, size_t maxSize)
{
    FILE *f = Sys_FOpen(gamePath, "rb");
    if (!f)
        return -1;
    size_t n = std::fread(data, 1, maxSize, f);
    std::fclose(f);
    return long(n);
}
