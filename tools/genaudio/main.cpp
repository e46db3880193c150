// genaudio <base dir> [--only name,name,...]
// Writes <base>/sound/*.wav and <base>/music/*.ogg. With --only, just the named samples
// ("en1", "cr3", ...) and tunes ("menu", "1", ...), which keeps the repeatability test quick.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "genaudio.h"

namespace {

bool wanted(const char *only, const char *name)
{
    if (!only)
        return true;
    std::string list = std::string(",") + only + ",";
    return list.find(std::string(",") + name + ",") != std::string::npos;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: genaudio <base dir> [--only name,name,...]\n");
        return 2;
    }
    const char *base = argv[1];
    const char *only = nullptr;
    for (int i = 2; i < argc; i++) {
        if (!std::strcmp(argv[i], "--only") && i + 1 < argc)
            only = argv[++i];
        else {
            std::fprintf(stderr, "genaudio: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    // A misspelt name would otherwise write nothing and still succeed.
    if (only) {
        std::string list = std::string(only) + ",";
        for (size_t at = 0, comma; (comma = list.find(',', at)) != std::string::npos; at = comma + 1) {
            std::string name = list.substr(at, comma - at);
            bool known = false;
            for (const SoundInfo &s : soundTable)
                known = known || name == s.name;
            for (const TuneInfo &t : tuneTable)
                known = known || name == t.name;
            if (!known) {
                std::fprintf(stderr, "genaudio: no sound or tune named '%s'\n", name.c_str());
                return 2;
            }
        }
    }
    std::string b = base;
    mkdir(b.c_str(), 0755);
    mkdir((b + "/sound").c_str(), 0755);
    mkdir((b + "/music").c_str(), 0755);

    // The tunes take most of the time and do not depend on one another, so two threads take
    // them in turn from a shared counter. Each tune is written by whichever thread took it, to
    // its own file, so the bytes are the same whatever the scheduling.
    bool okTunes[kTuneCount] = {};
    std::atomic<int> nextTune{0};
    auto tunes = [&] {
        for (int i; (i = nextTune++) < kTuneCount;)
            okTunes[i] = !wanted(only, tuneTable[i].name) || writeTune(base, i);
    };
    std::thread worker(tunes);
    bool ok = true;
    for (int i = 0; i < kSoundCount; i++)
        if (wanted(only, soundTable[i].name) && !writeSound(base, i)) {
            std::fprintf(stderr, "genaudio: cannot write sound %s\n", soundTable[i].name);
            ok = false;
        }
    tunes();
    worker.join();
    for (int i = 0; i < kTuneCount; i++)
        if (!okTunes[i]) {
            std::fprintf(stderr, "genaudio: cannot write tune %s\n", tuneTable[i].name);
            ok = false;
        }
    return ok ? 0 : 1;
}
