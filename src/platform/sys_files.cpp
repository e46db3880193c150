#include "platform/sys_files.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool sysCrashBeforeRename;

static std::string dataDir; // "" : base/ is in the working folder

std::string Sys_NativePath(const char *gamePath)
{
    std::string p = gamePath ? gamePath : "";
    for (char &c : p)
        if (c == '\\')
            c = '/';
    if (dataDir.empty())
        return p;
    size_t start = 0;
    while (p.compare(start, 2, "./") == 0)
        start += 2;
    if (p.compare(start, 5, "base/") == 0 || p.compare(start, std::string::npos, "base") == 0)
        return dataDir + "/" + p.substr(start);
    return p;
}

void Sys_SetDataDir(const std::string &folder)
{
    dataDir = folder;
}

static bool isFolder(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Sys_FindDataDir(std::vector<std::string> *searched)
{
    std::vector<std::string> roots;
    char buf[4096];
    if (getcwd(buf, sizeof buf))
        roots.push_back(buf);
    // The executable's own folder: the build puts base/ beside the program it builds, so the
    // game starts from anywhere, the repository's root included.
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) {
        std::string exe(buf, size_t(n));
        std::string folder = exe.substr(0, exe.find_last_of('/'));
        roots.push_back(folder);
        roots.push_back(folder.substr(0, folder.find_last_of('/')) + "/share/cobalt-overdrive");
    }
    searched->clear();
    for (size_t i = 0; i < roots.size(); i++) {
        if (i > 0 && roots[i] == roots[i - 1])
            continue; // started in the executable's folder
        if (isFolder(roots[i] + "/base")) {
            Sys_SetDataDir(i == 0 ? "" : roots[i]);
            return true;
        }
        searched->push_back(roots[i] + "/base");
    }
    return false;
}

void Sys_Report(const char *format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::fprintf(stderr, "cobalt-overdrive: %s\n", text);
}

void Sys_ReportUnusable(const char *gamePath)
{
    std::string path = Sys_NativePath(gamePath);
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) {
        Sys_Report("cannot read %s (%s)", path.c_str(), std::strerror(errno));
        return;
    }
    std::fclose(f);
    Sys_Report("%s is damaged or not in a form the game reads", path.c_str());
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
