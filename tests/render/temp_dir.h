// A scratch directory per test that is removed again afterwards.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "file_builders.h"

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        char pattern[] = "/tmp/cobalt-render-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string file(const std::string &name) const { return (path / name).string(); }
    std::string write(const std::string &name, const Bytes &bytes) const
    {
        std::filesystem::path p = path / name;
        std::filesystem::create_directories(p.parent_path());
        FILE *f = std::fopen(p.c_str(), "wb");
        if (!bytes.empty())
            std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return p.string();
    }
};
