#include <cstdio>
#include <new>

#include "platform/sys_files.h"
#include "render/images.h"

bool readWholeFile(const char *fileName, unsigned char **bytes, size_t *size)
{
    *bytes = nullptr;
    *size = 0;
    FILE *f = Sys_FOpen(fileName, "rb");
    if (!f)
        return false;
    long length = -1;
    if (std::fseek(f, 0, SEEK_END) == 0)
        length = std::ftell(f);
    if (length < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
        std::fclose(f); // a directory or a pipe: nothing we can read as a whole
        return false;
    }
    if (length == 0) {
        std::fclose(f);
        return true;
    }
    unsigned char *buffer = new (std::nothrow) unsigned char[size_t(length)];
    if (!buffer) {
        std::fclose(f);
        return false;
    }
    size_t got = std::fread(buffer, 1, size_t(length), f);
    std::fclose(f);
    if (got != size_t(length)) {
        delete[] buffer;
        return false;
    }
    *bytes = buffer;
    *size = got;
    return true;
}
