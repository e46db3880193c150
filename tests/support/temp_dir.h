// A scratch directory per test, removed afterwards; the game's relative paths resolve inside it.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline void writeBytes(const std::string &path, const std::vector<unsigned char> &bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

struct TempDir {
    std::filesystem::path path;
    std::filesystem::path oldCwd;
    TempDir()
    {
        char tmpl[] = "/tmp/cobalt-test-XXXXXX";
        path = mkdtemp(tmpl);
        std::filesystem::create_directories(path / "base");
    }
    ~TempDir()
    {
        if (!oldCwd.empty())
            std::filesystem::current_path(oldCwd);
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    // Makes this the working directory for the rest of the test.
    void enter()
    {
        oldCwd = std::filesystem::current_path();
        std::filesystem::current_path(path);
    }
    std::string file(const std::string &rel) const { return (path / rel).string(); }
    // Writes bytes to rel (folders made as needed) and returns the file's path.
    std::string write(const std::string &rel, const std::vector<unsigned char> &bytes) const
    {
        std::filesystem::path p = path / rel;
        std::filesystem::create_directories(p.parent_path());
        writeBytes(p.string(), bytes);
        return p.string();
    }
};

inline std::vector<unsigned char> readBytes(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(f), {});
}

inline std::vector<unsigned char> words(std::initializer_list<int> ws)
{
    std::vector<unsigned char> out;
    for (int w : ws)
        for (int i = 0; i < 4; i++)
            out.push_back((unsigned char)(unsigned(w) >> (8 * i)));
    return out;
}

inline int wordAt(const std::vector<unsigned char> &b, size_t index)
{
    const unsigned char *p = b.data() + 4 * index;
    return int(unsigned(p[0]) | unsigned(p[1]) << 8 | unsigned(p[2]) << 16 | unsigned(p[3]) << 24);
}
