// gen2d: paints every 2D picture of the game (textures, font, interface, HUD, sky, particles)
// and writes the effect definitions and the default settings and career files.
//   gen2d BASE_DIR [--contact SHEET.png] [--fonts FONT_DIR] [--preview PNG_DIR] [--screens PNG_DIR]
#include "gen2d.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

int main(int argc, char **argv)
{
    const char *fonts = "/usr/share/fonts/truetype/dejavu";
    const char *contact = nullptr;
    const char *screens = nullptr;
    const char *base = nullptr;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--contact") && i + 1 < argc)
            contact = argv[++i];
        else if (!strcmp(argv[i], "--screens") && i + 1 < argc)
            screens = argv[++i];
        else if (!strcmp(argv[i], "--preview") && i + 1 < argc)
            gen2dPreviewDir = argv[++i];
        else if (!strcmp(argv[i], "--fonts") && i + 1 < argc)
            fonts = argv[++i];
        else if (!base && argv[i][0] != '-')
            base = argv[i];
        else {
            fprintf(stderr, "usage: gen2d BASE_DIR [--contact SHEET.png] [--fonts FONT_DIR] [--preview PNG_DIR] [--screens PNG_DIR]\n");
            return 2;
        }
    }
    if (!base) {
        fprintf(stderr, "usage: gen2d BASE_DIR [--contact SHEET.png] [--fonts FONT_DIR] [--preview PNG_DIR] [--screens PNG_DIR]\n");
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    gen2dBase = base;
    while (gen2dBase.size() > 1 && gen2dBase.back() == '/')
        gen2dBase.pop_back();
    std::error_code ec;
    std::filesystem::create_directories(gen2dBase + "/textures", ec);
    std::filesystem::create_directories(gen2dBase + "/effects", ec);
    if (!gen2dPreviewDir.empty())
        std::filesystem::create_directories(gen2dPreviewDir + "/textures", ec);
    // Two lanes of roughly equal work run side by side; each painter writes its own files, so the
    // bytes do not depend on which lane finishes first.
    struct Step {
        const char *name;
        bool (*fn)();
    };
    static const Step lanes[2][5] = {
        {{"loading", paintLoading}, {"sky", paintSky}, {"effects", paintEffects}, {"garage", paintGarage},
         {"data", writeDataFiles}},
        {{"menus", paintMenus}, {"hud", paintHud}, {"font", paintFont}, {"materials", paintMaterials}, {nullptr, nullptr}},
    };
    std::atomic<bool> ok{true};
    auto runLane = [&](int lane) {
        if (!fontsInit(fonts)) {
            ok = false;
            return;
        }
        for (const Step &s : lanes[lane]) {
            if (!s.fn)
                break;
            auto t0 = std::chrono::steady_clock::now();
            if (!s.fn()) {
                fprintf(stderr, "gen2d: %s failed\n", s.name);
                ok = false;
            }
            if (getenv("GEN2D_TIMES"))
                printf("  %-10s %.2f s\n", s.name,
                       std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        }
        fontsShutdown();
    };
    std::thread second(runLane, 1);
    runLane(0);
    second.join();
    if (ok && contact && !writeContactSheet(contact)) {
        fprintf(stderr, "gen2d: cannot write the contact sheet %s\n", contact);
        ok = false;
    }
    double paintSecs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (ok && screens) {
        std::filesystem::create_directories(screens, ec);
        if (!writeMockups(screens)) {
            fprintf(stderr, "gen2d: cannot write the screen mock-ups into %s\n", screens);
            ok = false;
        }
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    printf("gen2d: %s in %.2f s (content %.2f s, screen mock-ups %.2f s)\n", ok ? "done" : "FAILED", secs, paintSecs,
           secs - paintSecs);
    return ok ? 0 : 1;
}
