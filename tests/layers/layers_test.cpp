// The folders of src/ are layers, stated in the README's layout table: a file may include its own
// folder's headers and those of lower layers only. This reads the table and every #include line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

// Folder name -> layer, from rows such as "| 3 | `src/render` | ... |".
std::map<std::string, int> layersFromReadme()
{
    std::map<std::string, int> layers;
    std::ifstream readme(fs::path(COBALT_SOURCE_DIR) / "README.md");
    const std::regex row(R"(^\|\s*(\d+)\s*\|\s*`src/([a-z_0-9]+)`\s*\|)");
    std::string line;
    std::smatch m;
    while (std::getline(readme, line))
        if (std::regex_search(line, m, row))
            layers[m[2]] = std::stoi(m[1]);
    return layers;
}

TEST(Layers, EveryIncludePointsToTheSameOrALowerLayer)
{
    const std::map<std::string, int> layers = layersFromReadme();
    ASSERT_GE(layers.size(), 2u) << "the README's layout table lists no layers";
    const fs::path src = fs::path(COBALT_SOURCE_DIR) / "src";
    const std::regex include(R"(^\s*#\s*include\s*"([a-z_0-9]+)/)");
    for (const auto &entry : fs::directory_iterator(src)) {
        if (entry.is_directory()) {
            EXPECT_TRUE(layers.count(entry.path().filename().string()))
                << "src/" << entry.path().filename().string() << " has no row in the README's layout table";
        }
    }

    int checked = 0;
    for (const auto &entry : fs::recursive_directory_iterator(src)) {
        const fs::path &p = entry.path();
        if (!entry.is_regular_file() || (p.extension() != ".cpp" && p.extension() != ".h"))
            continue;
        fs::path rel = fs::relative(p, src);
        if (rel.begin() == rel.end() || std::next(rel.begin()) == rel.end())
            continue; // the entry point beside the folders sits above them all
        const std::string folder = rel.begin()->string();
        auto own = layers.find(folder);
        if (own == layers.end())
            continue; // reported above
        std::ifstream in(p);
        std::string line;
        std::smatch m;
        for (int n = 1; std::getline(in, line); n++) {
            if (!std::regex_search(line, m, include))
                continue;
            checked++;
            const std::string target = m[1];
            auto to = layers.find(target);
            if (to == layers.end() || target == folder)
                continue;
            EXPECT_LT(to->second, own->second)
                << "src/" << rel.string() << ":" << n << " includes " << target << "/ (layer " << to->second
                << ") from " << folder << "/ (layer " << own->second << "): " << line;
        }
    }
    EXPECT_GT(checked, 100) << "the includes were not found where expected";
}

} // namespace
