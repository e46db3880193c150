// gen2d: paints every 2D picture of the game (textures, font, interface, HUD, sky, particles)
// and writes the effect definitions and the default settings and career files.
//   gen2d BASE_DIR [--contact SHEET.png] [--fonts FONT_DIR] [--preview PNG_DIR] [--screens PNG_DIR]
#include "gen2d.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

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
    if (!fontsInit(fonts))
        return 1;

    bool ok = true;
    struct Step {
        const char *name;
        bool (*fn)();
    } steps[] = {{"font", paintFont},       {"sky", paintSky},         {"hud", paintHud},
                 {"menus", paintMenus},     {"effects", paintEffects}, {"garage", paintGarage},
                 {"loading", paintLoading}, {"materials", paintMaterials}, {"data", writeDataFiles}};
    for (const Step &s : steps) {
        auto t0 = std::chrono::steady_clock::now();
        if (!s.fn()) {
            fprintf(stderr, "gen2d: %s failed\n", s.name);
            ok = false;
        }
        if (getenv("GEN2D_TIMES"))
            printf("  %-10s %.2f s\n", s.name,
                   std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    if (ok && contact && !writeContactSheet(contact)) {
        fprintf(stderr, "gen2d: cannot write the contact sheet %s\n", contact);
        ok = false;
    }
    if (ok && screens) {
        std::filesystem::create_directories(screens, ec);
        if (!writeMockups(screens)) {
            fprintf(stderr, "gen2d: cannot write the screen mock-ups into %s\n", screens);
            ok = false;
        }
    }
    fontsShutdown();
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    printf("gen2d: %s in %.2f s\n", ok ? "done" : "FAILED", secs);
    return ok ? 0 : 1;
}
