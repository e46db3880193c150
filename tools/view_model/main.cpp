// cobalt-view-model PATH [--frames N] [--screenshot FRAME:PATH]... [--size WxH]
// Shows one .ms3d model with its textures, turning; saves the chosen frames as PNG.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/common.h"
#include "render/model_viewer.h"
#include "render/render.h"
#include "shell/shell.h"

namespace {

struct Shot {
    long frame;
    std::string path;
};

void usage()
{
    std::fprintf(stderr, "usage: cobalt-view-model MODEL.ms3d [--frames N] [--screenshot FRAME:OUT.png]... [--size WxH]\n"
                         "Without --frames it turns until the window is closed.\n");
}

} // namespace

int main(int argc, char **argv)
{
    const char *model = nullptr;
    long frames = -1;
    int width = 800, height = 600;
    std::vector<Shot> shots;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (a == "--frames" && i + 1 < argc) {
            frames = std::atol(argv[++i]);
        } else if (a == "--screenshot" && i + 1 < argc) {
            std::string s = argv[++i];
            size_t colon = s.find(':');
            if (colon == std::string::npos) {
                usage();
                return 2;
            }
            shots.push_back({std::atol(s.substr(0, colon).c_str()), s.substr(colon + 1)});
        } else if (a == "--size" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
                usage();
                return 2;
            }
        } else if (!model && a[0] != '-') {
            model = argv[i];
        } else {
            usage();
            return 2;
        }
    }
    if (!model) {
        usage();
        return 2;
    }
    for (const Shot &s : shots)
        if (frames < s.frame + 1)
            frames = s.frame + 1;

    Sys_SetAutoAnswer(IDYES);
    setDefaultSettings();
    screenWidth = width;
    screenHeight = height;
    if (!openGameWindow("Cobalt Overdrive model viewer", width, height, 32, false))
        return 1;
    if (!viewModelLoad(model)) {
        std::fprintf(stderr, "cobalt-view-model: %s is not a model this game can load\n", model);
        closeGameWindow();
        return 1;
    }
    int failed = 0;
    for (long frame = 0; frames < 0 || frame < frames; frame++) {
        SysMsg msg;
        bool quit = false;
        while (Sys_PeekMessage(&msg))
            if (msg.message == WM_QUIT || msg.message == WM_CLOSE)
                quit = true;
        if (quit)
            break;
        viewModelDraw(width, height, float(frame) * 4.0f);
        for (const Shot &s : shots)
            if (s.frame == frame && !saveScreenshot(s.path.c_str()))
                failed = 1;
        Sys_SwapBuffers();
    }
    viewModelRelease();
    closeGameWindow();
    return failed;
}
